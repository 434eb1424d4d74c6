# The core tests labelled "slow", for the Linux and the Windows build alike: every suite whose
# name starts with "Slow" (every failing call of every write path, races between processes, a
# real spreadsheet program). A new slow test is marked by its suite's name, nowhere else.
set(slow_core_tests "Slow*")

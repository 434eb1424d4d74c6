# The core tests labelled "slow", for the Linux and the Windows build alike.
set(slow_core_tests "FaultMatrix.*:ImageRace.*:Document.AWriteFailingAtAnyCallLeavesTheFileWhole:Document.TwoProcessesWritingOneRecordLoseNothing:CliTables.CsvSavedByASpreadsheetProgramImportsUnchanged")

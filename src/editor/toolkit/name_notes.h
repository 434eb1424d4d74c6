#pragma once
// What a name code will store, said while it is typed: the bytes it takes of its field, and
// everything a write would store other than as typed or the game would not show (digits cut
// at the field's end, a lone last digit completed, half a character, codes without a
// character, an end mark inside the code). And the other way: the codes of a typed text,
// through the character table's reverse lookup.

#include <QString>
#include <QStringList>

#include "schema/table_def.h"

namespace vorlan {

class CharTable;

struct NameNotes {
    int bytes = 0;  // of the field's width that the stored code takes
    int width = 0;
    QStringList notes;  // empty when the code is stored and shown as typed
    bool valid = true;  // false: not a hex code, a write refuses it

    // "12 / 34 字节", with the notes after it.
    QString text() const;
};

// The notes for code text `typed` in name-code field `f`; `chars` may be null (no table).
NameNotes nameNotes(const FieldDef& f, const QString& typed, const CharTable* chars);

struct TypedName {
    QString codes;        // the codes of the characters found, in order
    QStringList missing;  // the characters without a code, each once, in order
};
// The code text of `text`, character by character (the entry with the highest index wins).
TypedName codesOfText(const QString& text, const CharTable& chars);
// "「X」「Y」没有字码" for a message or a note.
QString missingText(const QStringList& missing);

}  // namespace vorlan

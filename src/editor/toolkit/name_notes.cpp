#include "toolkit/name_notes.h"

#include <QRegularExpression>

#include "schema/name_bytes.h"
#include "text/char_table.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

constexpr int kNamed = 4;  // codes named in a note; the rest counted

// The code as the encoding takes it: blanks around and a "0x" prefix dropped.
QString bareCode(const QString& typed) {
    QString code = typed.trimmed();
    if (code.startsWith("0x", Qt::CaseInsensitive))
        code.remove(0, 2);
    return code;
}

}  // namespace

QString NameNotes::text() const {
    QString out = u("%1 / %2 字节").arg(bytes).arg(width);
    if (!notes.isEmpty())
        out += u("：") + notes.join(u("；"));
    return out;
}

NameNotes nameNotes(const FieldDef& f, const QString& typed, const CharTable* chars) {
    NameNotes n;
    n.width = f.width;
    const QString code = bareCode(typed);
    static const QRegularExpression hex("^[0-9A-Fa-f]*$");
    if (!hex.match(code).hasMatch()) {
        n.valid = false;
        n.bytes = static_cast<int>((code.size() + 1) / 2);
        n.notes << u("只能填十六进制数字（0–9、A–F），写入时会被拒绝");
        return n;
    }
    const int digits = 2 * f.width;
    const QString stored = u(storedNameCode(f, typed.toStdString()));
    // The bytes the code takes before the field is filled with 00.
    n.bytes = static_cast<int>(std::min<qsizetype>((code.size() + 1) / 2, f.width));
    if (code.size() > digits)
        n.notes << u("将截为 %1 位（%2 字节），第 %3 位起没有写入")
                       .arg(digits)
                       .arg(f.width)
                       .arg(digits + 1);
    else if (code.size() % 2 == 1)
        n.notes << u("字码是奇数位，末尾补 0");
    const qsizetype kept = std::min<qsizetype>((code.size() + 1) / 2 * 2, digits);
    if (stored.size() < kept) {
        n.notes << u("第 %1 位起是名称的结束标记，之后的 %2 位游戏中不显示")
                       .arg(stored.size() + 1)
                       .arg(kept - stored.size());
    }
    if (stored.size() % 4 != 0) {
        n.notes
            << u("最后一个字只有半个字码（%1），游戏中不显示").arg(stored.right(stored.size() % 4));
    }
    if (chars != nullptr && !chars->empty()) {
        QStringList unknown;
        for (qsizetype at = 0; at + 4 <= stored.size(); at += 4) {
            const QString group = stored.mid(at, 4);
            if (chars->decode(group.toStdString()).empty())
                unknown << group;
        }
        if (!unknown.isEmpty()) {
            QString named = unknown.mid(0, kNamed).join(u("、"));
            if (unknown.size() > kNamed)
                named += u(" 等");
            n.notes << u("%1 个字码没有对应的字：").arg(unknown.size()) + named;
        }
    }
    return n;
}

TypedName codesOfText(const QString& text, const CharTable& chars) {
    TypedName out;
    for (const char32_t c : text.toUcs4()) {
        const QString character = QString::fromUcs4(&c, 1);
        if (const auto code = chars.codeOf(character.toStdString()))
            out.codes += u(*code);
        else if (!out.missing.contains(character))
            out.missing << character;
    }
    return out;
}

QString missingText(const QStringList& missing) {
    QString out;
    for (const QString& c : missing)
        out += u("「") + c + u("」");
    return out + u("没有字码");
}

}  // namespace vorlan

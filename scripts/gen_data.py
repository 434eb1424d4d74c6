#!/usr/bin/env python3
"""Writes the name lists of the data folder: unit.txt, pilot.txt, jn.txt and string.txt.

The lists are placeholders that players replace with the names of their own copy of the
game; their lengths and entry syntax are what the editor relies on:

  unit.txt    481 lines  机体000 … 机体480
  pilot.txt   485 lines  机师000 … 机师484
  jn.txt       35 lines  "----" (no skill), then 技能01 … 技能34
  string.txt 7302 lines  the game-text character table

A string.txt entry is the two-byte game code as four upper-case hex digits in stored
order, immediately followed by the character it stands for. Entry k has the code
hi = 0x81 + k // 188, lo = 0x40 + k % 188 (so every code byte is at least 0x40 and no code
contains a zero byte). Entries 0 … 7239 are the ones names are decoded against; entries
7240 … 7301 hold symbols that are found only by the character-to-code lookup.

Entries are comma-delimited and leading blanks are dropped when the editor reads them, so
the entries for the space and for the comma are written in double quotes.

Output: UTF-8 without BOM, LF line ends, one entry per line. The script uses the standard
library only and always writes the same bytes.

Usage: python3 scripts/gen_data.py [DATA_DIR]   (default: data/ beside scripts/)
"""

import os
import sys

UNIT_COUNT = 481
PILOT_COUNT = 485
SKILL_COUNT = 35
CHAR_COUNT = 7302
DECODABLE = 7240  # entries 0 … 7239 decode names; the rest are lookup-only

# Punctuation used in the game's texts, in the order it is added (a character already in
# the table is skipped). U+30FB (katakana middle dot) has no GBK code; its GBK form is the
# middle dot U+00B7, which is what a GBK list file gives back, so that is the one listed.
CJK_PUNCTUATION = (
    "、。·〃々〆〇「」『』【】〈〉《》〔〕〖〗…—―‖‘’“”～￥￣〓"
)

# Kanji of the game's own vocabularies (spirit commands, unit and pilot skills, skill
# corrections, enhancement parts, barriers), in Japanese forms. Those that GB2312 already
# has are skipped; the rest follow the GB2312 block in this order.
GAME_VOCABULARY = (
    "熱血 魂 不屈 鉄壁 集中 必中 感応 加速 覚醒 根性 信頼 友情 補給 気合 気迫 激励 "
    "狙撃 直撃 期待 偵察 脱力 乱 愛 幸運 祝福 努力 応援 "
    "念動 変形 分身 機能 強化人間 超能力 勇者 抗体反応 命中 回避 射程 攻撃力 装甲 補正 "
    "移動力 運動性 学習型 高性能照準器 防塵装置 超合金 大型 補助 対 全回復 弾薬 陸 "
    "勝利 鍵 印 鋼 "
)

# Further kanji that mecha and war-game texts use in Japanese forms, in this order, to fill
# the decodable entries of the table.
FURTHER_KANJI = (
    "戦闘艦銃剣斬連続龍竜獣電閃線飛覇滅殺発転軽輪軍車隊団記録説読話語誤認証護計設許"
    "評試論諸講調議関開閉門問闇陣険際隠難雲震霊響頭題顔風駆験騎騒黒点亀乗亜仏伝価"
    "働優児処則剛劇労効勢区医単博参双収号圧堅塁壊声売奪奮実宝将専導尽層属巻帰帯幾"
    "広廃弐従徳恵悪悩惨憶懐戻払抜択拠拡挙捜掃揺損撃擬敵数断旧時暁書東栄桜検楽様権"
    "横欧歓歩歴殻毎沢涙渉済満漢潜災為焼無煙犠状独猟献現環産畳異療盗県真着砕礎禍種"
    "穏積窮競筆範築糸紀約紅純紙級細終組経結絡統絵継総緑練縁縄縦繊罰羅聖聴胆脳臓興"
    "芸華蔵虚衆術衛製覧観触訓詳誇説諾謎負貫貨貯貴買費資賀質赤践躍軸較輝輸辺込述逃"
    "遅遊過達違遺郷鈍鉱銀鋭錬鎖鎮鏡長陽階隷雑離雷静頂項順預領頻顕類飯飲養驚髪鬼鳴"
    "麗黄黙齢"
)

# Symbols of the lookup-only tail (entries 7240 … 7301), used nowhere else in the table.
TAIL_SYMBOLS = (
    "★☆○●◎◇◆□■△▲▽▼※→←↑↓"
    "①②③④⑤⑥⑦⑧⑨⑩"
    "⑴⑵⑶⑷⑸⑹⑺⑻⑼⑽⑾⑿⒀⒁⒂⒃⒄⒅⒆⒇"
    "ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩⅪⅫ"
    "♀♂"
)

# Characters that must be decodable (entries 0 … 7239).
REQUIRED_DECODABLE = "0123456789机体师武器"


def gbk_ok(ch):
    """True when the character has a GBK code that reads back as the same character."""
    try:
        return ch.encode("gbk").decode("gbk") == ch
    except UnicodeError:
        return False


def in_gb2312(ch):
    try:
        ch.encode("gb2312")
        return True
    except UnicodeError:
        return False


def gb2312_hanzi():
    """The GB2312 hanzi, level 1 then level 2, in code order (rows 0xB0 … 0xF7)."""
    out = []
    for hi in range(0xB0, 0xF8):
        for lo in range(0xA1, 0xFF):
            try:
                ch = bytes((hi, lo)).decode("gb2312")
            except UnicodeError:
                continue  # unassigned positions at the end of row 0xD7
            out.append(ch)
    return out


def code_text(k):
    hi = 0x81 + k // 188
    lo = 0x40 + k % 188
    return "%02X%02X" % (hi, lo)


def build_characters():
    tail = list(TAIL_SYMBOLS)
    tail_set = set(tail)
    if len(tail) != CHAR_COUNT - DECODABLE or len(tail_set) != len(tail):
        raise SystemExit("tail symbols: need %d distinct, have %d"
                         % (CHAR_COUNT - DECODABLE, len(tail_set)))

    chars = []
    seen = set()

    def add(ch):
        if ch in seen or ch in tail_set:
            return False
        if not gbk_ok(ch):
            raise SystemExit("character U+%04X has no GBK code" % ord(ch))
        chars.append(ch)
        seen.add(ch)
        return True

    # Printable ASCII, then the space.
    for c in range(0x21, 0x7F):
        add(chr(c))
    add(" ")
    # Hiragana, katakana, the prolonged sound mark.
    for c in range(0x3041, 0x3094):
        add(chr(c))
    for c in range(0x30A1, 0x30F7):
        add(chr(c))
    add("ー")
    # Full-width forms, then common CJK punctuation.
    for c in range(0xFF01, 0xFF5F):
        add(chr(c))
    for ch in CJK_PUNCTUATION:
        add(ch)
    # GB2312 hanzi.
    for ch in gb2312_hanzi():
        add(ch)

    # Japanese kanji forms outside GB2312: first those of the game's vocabulary, then more.
    def kanji_candidates():
        for ch in GAME_VOCABULARY + FURTHER_KANJI:
            if "\u4e00" <= ch <= "\u9fa5" and not in_gb2312(ch):
                yield ch

    for ch in kanji_candidates():
        if len(chars) >= DECODABLE:
            break
        add(ch)
    if len(chars) != DECODABLE:
        raise SystemExit("decodable entries: need %d characters, have %d" % (DECODABLE, len(chars)))

    for ch in tail:
        if ch in seen:
            raise SystemExit("tail symbol %r is already in the table" % ch)
        add_tail = gbk_ok(ch)
        if not add_tail:
            raise SystemExit("tail symbol U+%04X has no GBK code" % ord(ch))
        chars.append(ch)
        seen.add(ch)
    return chars


def string_entries():
    chars = build_characters()
    entries = []
    for k, ch in enumerate(chars):
        entry = code_text(k) + ch
        if ch in (" ", ","):
            entry = '"' + entry + '"'
        entries.append(entry)
    return chars, entries


def verify(chars, entries):
    assert len(entries) == CHAR_COUNT, len(entries)
    assert len(set(chars)) == CHAR_COUNT, "characters are not unique"
    codes = [code_text(k) for k in range(CHAR_COUNT)]
    assert len(set(codes)) == CHAR_COUNT, "codes are not unique"
    for code in codes:
        b = bytes.fromhex(code)
        assert b[0] >= 0x40 and b[1] >= 0x40, code
    for ch in REQUIRED_DECODABLE:
        assert chars.index(ch) < DECODABLE, ch
    for ch in chars:
        assert gbk_ok(ch), "U+%04X" % ord(ch)
    assert any(e.startswith('"') and e.endswith(',"') for e in entries), "no quoted comma entry"
    # What the editor reads back: strip the quotes of a quoted entry; the code is the first
    # four characters and the character the last one.
    for k, e in enumerate(entries):
        if e.startswith('"'):
            assert e.endswith('"')
            e = e[1:-1]
        else:
            assert "," not in e and not e[0].isspace(), e
        assert e[:4] == codes[k] and e[-1] == chars[k] and len(e) == 5, e


def write_lines(path, lines):
    data = "".join(line + "\n" for line in lines).encode("utf-8")
    with open(path, "wb") as f:
        f.write(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data")
    os.makedirs(out_dir, exist_ok=True)

    units = ["机体%03d" % i for i in range(UNIT_COUNT)]
    pilots = ["机师%03d" % i for i in range(PILOT_COUNT)]
    skills = ["----"] + ["技能%02d" % i for i in range(1, SKILL_COUNT)]
    assert len(set(skills)) == SKILL_COUNT

    chars, entries = string_entries()
    verify(chars, entries)

    write_lines(os.path.join(out_dir, "unit.txt"), units)
    write_lines(os.path.join(out_dir, "pilot.txt"), pilots)
    write_lines(os.path.join(out_dir, "jn.txt"), skills)
    write_lines(os.path.join(out_dir, "string.txt"), entries)
    print("unit.txt %d, pilot.txt %d, jn.txt %d, string.txt %d"
          % (len(units), len(pilots), len(skills), len(entries)))


if __name__ == "__main__":
    main()

// BPS and IPS as formats: ours against a plain encoder and decoder written here from the
// formats' descriptions, and every hostile patch refused with the place it goes wrong.

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <string>

#include "bulk/bps.h"
#include "bulk/ips.h"
#include "bulk/patch_error.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crc(const Bytes& b) {
    return static_cast<std::uint32_t>(crc32(0L, b.data(), static_cast<uInt>(b.size())));
}

void putNumber(Bytes& out, std::uint64_t v) {
    for (;;) {
        const auto x = static_cast<std::uint8_t>(v & 0x7F);
        v >>= 7;
        if (v == 0) {
            out.push_back(0x80 | x);
            return;
        }
        out.push_back(x);
        --v;
    }
}

void putLe32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// "BPS1" and the three sizes (no metadata); the caller adds actions.
Bytes bpsHead(std::uint64_t sourceSize, std::uint64_t targetSize) {
    Bytes p{'B', 'P', 'S', '1'};
    putNumber(p, sourceSize);
    putNumber(p, targetSize);
    putNumber(p, 0);
    return p;
}

Bytes withFooter(Bytes p, std::uint32_t sourceCrc, std::uint32_t targetCrc) {
    putLe32(p, sourceCrc);
    putLe32(p, targetCrc);
    putLe32(p, crc(p));
    return p;
}

// One action per byte: SourceRead where the byte stayed, TargetRead where it changed.
Bytes plainBpsEncode(const Bytes& source, const Bytes& target) {
    Bytes p = bpsHead(source.size(), target.size());
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (i < source.size() && source[i] == target[i]) {
            putNumber(p, 0);
        } else {
            putNumber(p, 1);
            p.push_back(target[i]);
        }
    }
    return withFooter(p, crc(source), crc(target));
}

// A straight reading of the format, checking every CRC-32.
Bytes plainBpsDecode(const Bytes& p, const Bytes& source, std::string* metadata) {
    std::size_t i = 4;
    const auto number = [&] {
        std::uint64_t d = 0;
        std::uint64_t shift = 1;
        for (;;) {
            const std::uint8_t x = p.at(i++);
            d += (x & 0x7F) * shift;
            if (x & 0x80)
                return d;
            shift <<= 7;
            d += shift;
        }
    };
    EXPECT_EQ(number(), source.size());
    const std::uint64_t targetSize = number();
    const std::uint64_t metaSize = number();
    metadata->assign(p.begin() + static_cast<std::ptrdiff_t>(i),
                     p.begin() + static_cast<std::ptrdiff_t>(i + metaSize));
    i += metaSize;
    Bytes t;
    std::int64_t sourceAt = 0;
    std::int64_t targetAt = 0;
    const auto relative = [&](std::int64_t& at) {
        const std::uint64_t d = number();
        at += (d & 1 ? -1 : 1) * static_cast<std::int64_t>(d >> 1);
    };
    while (i < p.size() - 12) {
        const std::uint64_t c = number();
        for (std::uint64_t n = (c >> 2) + 1, k = 0; k < n; ++k) {
            switch (c & 3) {
                case 0:
                    t.push_back(source.at(t.size()));
                    break;
                case 1:
                    t.push_back(p.at(i++));
                    break;
                case 2:
                    if (k == 0)
                        relative(sourceAt);
                    t.push_back(source.at(static_cast<std::size_t>(sourceAt++)));
                    break;
                default:
                    if (k == 0)
                        relative(targetAt);
                    t.push_back(t.at(static_cast<std::size_t>(targetAt++)));
            }
        }
    }
    const auto le = [&](std::size_t at) {
        return static_cast<std::uint32_t>(p[at] | p[at + 1] << 8 | p[at + 2] << 16 |
                                          static_cast<std::uint32_t>(p[at + 3]) << 24);
    };
    EXPECT_EQ(t.size(), targetSize);
    EXPECT_EQ(le(p.size() - 12), crc(source));
    EXPECT_EQ(le(p.size() - 8), crc(t));
    EXPECT_EQ(le(p.size() - 4), crc(Bytes(p.begin(), p.end() - 4)));
    return t;
}

// A source of 64 KiB of varied bytes and a target with scattered changes, a long run of one
// byte, and changes at both ends.
struct Pair {
    Bytes source;
    Bytes target;
    Pair() : source(64 * 1024) {
        std::uint32_t x = 12345;
        for (auto& b : source) {
            x = x * 1103515245u + 12345u;
            b = static_cast<std::uint8_t>(x >> 16);
        }
        target = source;
        target.front() ^= 1;
        target.back() ^= 1;
        for (std::size_t at : {100u, 101u, 107u, 5000u, 40000u})
            target[at] ^= 0x5A;
        std::fill(target.begin() + 20000, target.begin() + 20040, 0x77);
    }
};

std::string refusal(const std::function<void()>& f) {
    try {
        f();
    } catch (const PatchError& e) {
        return e.what();
    }
    return "(not refused)";
}

TEST(Bps, OursAndAPlainCoderUnderstandEachOther) {
    const Pair d;
    const Bytes ours = makeBps(d.source, d.target, "unit:5\n");
    EXPECT_EQ(applyBps(ours, d.source, d.source.size()), d.target);
    std::string metadata;
    EXPECT_EQ(plainBpsDecode(ours, d.source, &metadata), d.target);
    EXPECT_EQ(metadata, "unit:5\n");
    EXPECT_EQ(readBpsHeader(ours).metadata, "unit:5\n");
    EXPECT_LT(ours.size(), 200u);  // unchanged runs cost a byte or two each

    EXPECT_EQ(applyBps(plainBpsEncode(d.source, d.target), d.source, d.source.size()), d.target);
    // Both copy actions, a TargetCopy overlapping what it makes: "xyzabc" -> "abcabcabcz".
    const Bytes source{'x', 'y', 'z', 'a', 'b', 'c'};
    const Bytes target{'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'z'};
    Bytes p = bpsHead(source.size(), target.size());
    putNumber(p, (2u << 2) | 2);  // SourceCopy 3 from +3
    putNumber(p, 3u << 1);
    putNumber(p, (5u << 2) | 3);  // TargetCopy 6 from 0
    putNumber(p, 0);
    putNumber(p, (0u << 2) | 2);  // SourceCopy 1 from 6 - 4 = 2
    putNumber(p, (4u << 1) | 1);
    EXPECT_EQ(applyBps(withFooter(p, crc(source), crc(target)), source, 64), target);
}

TEST(Bps, RefusesHostileAndForeignPatchesSayingWhere) {
    const Bytes source{'x', 'y', 'z', 'a', 'b', 'c'};
    const Bytes target = source;
    const auto action = [&](std::uint64_t targetSize, std::initializer_list<std::uint64_t> nums) {
        Bytes p = bpsHead(source.size(), targetSize);
        for (std::uint64_t n : nums)
            putNumber(p, n);
        return withFooter(p, crc(source), crc(target));
    };
    const Bytes good = action(6, {(5u << 2) | 0});
    Bytes badCrc = good;
    badCrc[5] ^= 1;
    Bytes overflow = bpsHead(6, 6);
    overflow.insert(overflow.end(), 10, 0x7F);
    overflow.push_back(0x80);
    struct Case {
        const char* what;
        Bytes patch;
        const char* says;
    };
    const Case cases[] = {
        {"magic", Bytes{'B', 'P', 'S', '2', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "不是 BPS"},
        {"own crc", badCrc, "已损坏"},
        {"huge target", action(std::uint64_t{1} << 60, {0}), "超过了 64 字节"},
        {"number overflow", withFooter(overflow, crc(source), crc(target)),
         "第 7 字节处的数字太大"},
        {"read past source", action(8, {(7u << 2) | 0}), "读到了原文件末尾之后"},
        {"past target end", action(6, {(6u << 2) | 0}), "写到了目标文件末尾之后"},
        {"copy before start", action(6, {(0u << 2) | 2, 3}), "原文件之外"},
        {"copy of nothing made", action(6, {(0u << 2) | 3, 0}), "尚未生成"},
        {"copy past source", action(6, {(1u << 2) | 2, 5u << 1}), "原文件末尾之后"},
        {"truncated read", action(6, {(5u << 2) | 1, 0x41}), "被截断"},
        {"short output", action(6, {(2u << 2) | 0}), "少于它声明的 6 字节"},
        {"wrong result", action(6, {(0u << 2) | 1, 'q', (4u << 2) | 0}), "结果的 CRC-32 应为"},
    };
    EXPECT_EQ(applyBps(good, source, 64), target);
    for (const Case& c : cases)
        EXPECT_NE(refusal([&] { applyBps(c.patch, source, 64); }).find(c.says), std::string::npos)
            << c.what << ": " << refusal([&] { applyBps(c.patch, source, 64); });

    // Another file: both CRC-32s named; the patched file itself: "already applied".
    const Pair d;
    const Bytes patch = makeBps(d.source, d.target, "");
    const std::string other = refusal([&] { applyBps(patch, target, 1 << 20); });
    EXPECT_NE(other.find("不是为这个文件做的"), std::string::npos) << other;
    char expected[9];
    std::snprintf(expected, sizeof expected, "%08X", crc(d.source));
    EXPECT_NE(other.find(expected), std::string::npos) << other;
    EXPECT_NE(refusal([&] { applyBps(patch, d.target, 1 << 20); }).find("已经应用过了"),
              std::string::npos);
}

// The records of an IPS patch as (offset, size field, length), read plainly.
struct Record {
    std::uint32_t offset;
    std::uint32_t size;
    std::uint32_t length;
};
std::vector<Record> ipsRecords(const Bytes& p) {
    std::vector<Record> out;
    std::size_t i = 5;
    const auto be = [&](int n) {
        std::uint32_t v = 0;
        for (int k = 0; k < n; ++k)
            v = v << 8 | p.at(i++);
        return v;
    };
    for (;;) {
        const std::uint32_t offset = be(3);
        if (offset == 0x454F46)
            break;
        const std::uint32_t size = be(2);
        const std::uint32_t length = size == 0 ? be(2) : size;
        i += size == 0 ? 1 : size;
        out.push_back({offset, size, length});
    }
    EXPECT_EQ(i, p.size());
    return out;
}

TEST(Ips, RoundTripsWithRunRecordsAndNeverStartsARecordAtEof) {
    const Pair d;
    const Bytes patch = makeIps(d.source, d.target);
    EXPECT_EQ(applyIps(patch, d.source), d.target);
    const auto records = ipsRecords(patch);
    EXPECT_TRUE(std::any_of(records.begin(), records.end(),
                            [](const Record& r) { return r.size == 0 && r.length == 40; }));
    EXPECT_EQ(records.front().offset, 0u);

    // A hand-made patch: one plain record and one run record.
    const Bytes source(16, 0);
    Bytes expected = source;
    expected[2] = 0xAB;
    std::fill(expected.begin() + 8, expected.begin() + 14, 0xCD);
    const Bytes hand{'P', 'A', 'T', 'C', 'H', 0, 0, 2,    0,   1,   0xAB,
                     0,   0,   8,   0,   0,   0, 6, 0xCD, 'E', 'O', 'F'};
    EXPECT_EQ(applyIps(hand, source), expected);

    // A change at 0x454F46 ("EOF") is recorded from the byte before.
    Bytes big(0x454F50, 1);
    Bytes changed = big;
    changed[0x454F46] = 9;
    changed[0x454F47] = 9;
    const Bytes around = makeIps(big, changed);
    EXPECT_EQ(applyIps(around, big), changed);
    ASSERT_EQ(ipsRecords(around).size(), 1u);
    EXPECT_EQ(ipsRecords(around)[0].offset, 0x454F45u);
}

TEST(Ips, RefusesTruncatedMalformedAndLengthChangingPatchesSayingWhere) {
    const Bytes source(16, 0);
    const auto patch = [](std::initializer_list<std::uint8_t> body, bool eof = true) {
        Bytes p{'P', 'A', 'T', 'C', 'H'};
        p.insert(p.end(), body);
        if (eof)
            p.insert(p.end(), {'E', 'O', 'F'});
        return p;
    };
    struct Case {
        const char* what;
        Bytes patch;
        const char* says;
    };
    const Case cases[] = {
        {"magic", Bytes{'P', 'A', 'T', 'C'}, "不是 IPS"},
        {"no eof", patch({0, 0, 2, 0, 1, 7}, false), "第 11 字节处意外结束"},
        {"cut record", patch({0, 0, 2, 0, 4, 7}, false), "第 10 字节处意外结束"},
        {"past the end", patch({0, 0, 15, 0, 2, 7, 7}), "第 5 字节处的记录要写到偏移 0x0000000F"},
        {"run past the end", patch({0, 0, 10, 0, 0, 0, 7, 1}), "超出了文件末尾"},
        {"empty run", patch({0, 0, 1, 0, 0, 0, 0, 1}), "第 5 字节处的记录长度为 0"},
        {"shrinks", Bytes{'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F', 0, 0, 8},
         "第 8 字节处要求把文件长度改为 8 字节"},
        {"trailing bytes", Bytes{'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F', 0, 0, 8, 0},
         "第 8 字节处的 EOF 之后还有多余的内容"},
    };
    for (const Case& c : cases)
        EXPECT_NE(refusal([&] { applyIps(c.patch, source); }).find(c.says), std::string::npos)
            << c.what << ": " << refusal([&] { applyIps(c.patch, source); });
    // The truncation length of the file's own size changes nothing.
    EXPECT_EQ(applyIps(Bytes{'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F', 0, 0, 16}, source), source);
    EXPECT_NE(refusal([&] { makeIps(source, Bytes(17, 0)); }).find("长度相同"), std::string::npos);
}

}  // namespace
}  // namespace vorlan

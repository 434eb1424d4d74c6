#include "image/directory_report.h"

#include <charconv>
#include <vector>

#include "image/disc_image.h"

namespace vorlan {

namespace {

constexpr std::string_view kTag = "VORLAN-DIR1";
constexpr std::size_t kMaxName = 200;

template <typename Enum>
bool toEnum(std::uint64_t v, Enum last, Enum& out) {
    if (v > static_cast<std::uint64_t>(last))
        return false;
    out = static_cast<Enum>(v);
    return true;
}

std::string damageText(DirectoryReport::Damage d) {
    using D = DirectoryReport::Damage;
    switch (d) {
        case D::DescriptorSet:
            return "卷描述符序列不完整";
        case D::OutsideImage:
            return "目录或路径表超出了镜像文件的范围";
        case D::Record:
            return "目录记录或路径表的格式不对";
        case D::TooLarge:
            return "目录的数量、大小或层数超出了任何光盘的范围";
        case D::Reader:
            return "读取目录时出错，读取过程意外结束";
        case D::Timeout:
            return "读取目录超时";
        case D::None:
            break;
    }
    return "原因不明";
}

std::string structureText(const DirectoryReport& r) {
    using S = DirectoryReport::Structure;
    const std::string udf = r.system == DirectoryReport::System::Udf ? "UDF " : "";
    switch (r.structure) {
        case S::Descriptor:
            return "卷描述符";
        case S::PathTable:
            return "路径表";
        case S::Directory:
            return udf + "目录 " + (r.name.empty() ? "/" : r.name);
        case S::File:
            return udf + "文件 " + r.name;
        case S::None:
            break;
    }
    return "结构";
}

}  // namespace

DirectoryReport damaged(DirectoryReport::Damage why, DirectoryReport::System system) {
    DirectoryReport r;
    r.verdict = DirectoryReport::Verdict::Damaged;
    r.system = system;
    r.damage = why;
    return r;
}

std::string reportName(std::string_view name) {
    std::string out(name.substr(0, kMaxName));
    for (char& c : out) {
        if (c < 0x20 || c > 0x7E)
            c = '?';
    }
    return out;
}

std::string encodeReport(const DirectoryReport& r) {
    return std::string(kTag) + " " + std::to_string(static_cast<int>(r.verdict)) + " " +
           std::to_string(static_cast<int>(r.system)) + " " +
           std::to_string(static_cast<int>(r.structure)) + " " +
           std::to_string(static_cast<int>(r.damage)) + " " + std::to_string(r.sector) + " " +
           std::to_string(r.length) + " " + reportName(r.name) + "\n";
}

std::optional<DirectoryReport> decodeReport(std::string_view text) {
    if (text.size() > kTag.size() + 7 * 21 + kMaxName + 1 || !text.ends_with('\n'))
        return std::nullopt;
    text.remove_suffix(1);
    if (!text.starts_with(kTag) || text.size() == kTag.size() || text[kTag.size()] != ' ')
        return std::nullopt;
    text.remove_prefix(kTag.size() + 1);
    std::uint64_t numbers[6];
    for (std::uint64_t& n : numbers) {
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        const std::size_t used = static_cast<std::size_t>(end - text.data());
        if (ec != std::errc() || used == 0 || used >= text.size() || text[used] != ' ' ||
            (used > 1 && text[0] == '0'))
            return std::nullopt;
        text.remove_prefix(used + 1);
    }
    DirectoryReport r;
    using R = DirectoryReport;
    if (!toEnum(numbers[0], R::Verdict::Overlap, r.verdict) ||
        !toEnum(numbers[1], R::System::Udf, r.system) ||
        !toEnum(numbers[2], R::Structure::File, r.structure) ||
        !toEnum(numbers[3], R::Damage::Timeout, r.damage))
        return std::nullopt;
    r.sector = numbers[4];
    r.length = numbers[5];
    if (reportName(text) != text)
        return std::nullopt;
    r.name = std::string(text);
    return r;
}

std::string describeReport(const DirectoryReport& r, const std::string& image) {
    using V = DirectoryReport::Verdict;
    const std::string system = r.system == DirectoryReport::System::Udf ? "UDF" : "ISO 9660";
    switch (r.verdict) {
        case V::Ok:
            return {};
        case V::Damaged:
            return "镜像的目录结构已损坏（" +
                   (r.damage == DirectoryReport::Damage::Reader ||
                            r.damage == DirectoryReport::Damage::Timeout
                        ? std::string()
                        : system + "：") +
                   damageText(r.damage) + "），无法确定替换会写到哪里，这个镜像不能替换：\n" +
                   image;
        case V::NoExecutable:
            if (r.system == DirectoryReport::System::Udf)
                return "镜像的 UDF 目录里没有 SLKV_618.04，与 ISO 9660 目录不一致：\n" + image;
            return "镜像的 ISO 9660 目录里没有 SLKV_618.04，不是 VORLAN 的游戏镜像：\n" + image;
        case V::ExecutableElsewhere:
            return "镜像的 " + system + " 目录中的 SLKV_618.04 位于第 " + std::to_string(r.sector) +
                   " 扇区，长 " + std::to_string(r.length) +
                   " 字节；替换只能写在第 362 扇区、长 3542016 字节的位置，这个镜像不能替换：\n" +
                   image;
        case V::Overlap: {
            const std::uint64_t sectors = (r.length + 2047) / 2048;
            const std::string where = sectors <= 1
                                          ? "第 " + std::to_string(r.sector) + " 扇区"
                                          : "第 " + std::to_string(r.sector) + "–" +
                                                std::to_string(r.sector + sectors - 1) + " 扇区";
            return "镜像的" + structureText(r) + "位于" + where +
                   "，与第 362 扇区起的游戏主程序（共 " + std::to_string(kImageExeLength / 2048) +
                   " 扇区）重叠：替换会把它覆盖，镜像随之损坏。这个镜像不能替换：\n" + image;
        }
    }
    return {};
}

}  // namespace vorlan

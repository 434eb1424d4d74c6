#include "image/region_key.h"

#include <sodium.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/image_file.h"
#include "io/new_file.h"
#include "io/path_text.h"
#include "io/posix_file.h"
#include "io/system_facts.h"

namespace vorlan {

namespace {

namespace fs = std::filesystem;

constexpr char kIdLabel[] = "VORLAN saved region key id";

void sodiumReady() {
    if (sodium_init() < 0)
        throw ImageRefusal(
            "无法启动校验用的加密库（libsodium），没有改动镜像。请重新安装本程序后再试。");
}

std::string quoted(const fs::path& p) {
    return "「" + pathText(p) + "」";
}

const char* kWhatItIs =
    "\n这个文件用来确认镜像旁边保存的原内容是本程序在这台电脑上为你保存的。它没有被使用，也没有被改"
    "动，"
    "镜像没有改动。";
const char* kMoveIt =
    "\n请检查它：把它移到别处后再试，程序会建立新的密钥；用原来的密钥保存的原内容文件，之后要用 "
    "vorlan-cli iso restore 镜像 --from 文件 --trust-foreign 写回。";

[[noreturn]] void refuse(const fs::path& path, const std::string& why,
                         const std::string& hint = kMoveIt) {
    throw ImageRefusal("密钥文件" + quoted(path) + why + kWhatItIs + hint);
}

// The rules a key file must meet, on its status before and after it is opened.
void check(const fs::path& path, const FileStatus& st) {
    if (!st.regular())
        refuse(path, "不是普通文件（是文件夹、符号链接或设备）。");
    if (!st.ownedByUser)
        refuse(path, "属于另一个用户，不是本程序为你建立的。");
    if ((st.permissions & 077) != 0) {
        refuse(path,
               othersAccessText(static_cast<unsigned>(st.permissions)) +
                   "，其他用户也能读取或改动它，密钥可能已不再保密。",
               "\n如果只有你用这台电脑，" + ownerOnlyAdvice() +
                   "；否则把它移到别处后再试，程序会建立新的密钥。");
    }
    if (st.size != kRegionKeySize) {
        refuse(path, "的长度是 " + std::to_string(st.size) + " 字节，不是 " +
                         std::to_string(kRegionKeySize) + " 字节的密钥，已损坏或不是本程序的。");
    }
}

RegionKey readKey(FileOps& ops, const fs::path& path, const FileStatus& before) {
    check(path, before);
    try {
        PosixFile file(ops, path, PosixFile::Mode::Read, PosixFile::Links::Refuse);
        const FileStatus now = file.status();
        if (now.device != before.device || now.inode != before.inode)
            refuse(path, "在读取的同时被其他程序换掉了。", "\n请再试一次。");
        check(path, now);
        std::array<std::uint8_t, kRegionKeySize> secret{};
        file.readAt(0, secret);
        const RegionKey key(secret);
        sodium_memzero(secret.data(), secret.size());
        return key;
    } catch (const IoError& e) {
        refuse(path, std::string("无法读取：") + e.what());
    }
}

// Makes the folders down to `folder` that are missing, each readable by this user only.
void makeFolders(const fs::path& folder) {
    try {
        makePrivateFolders(folder);
    } catch (const IoError& e) {
        throw ImageRefusal(std::string("无法建立存放密钥的文件夹：") + e.what() +
                           "\n没有改动镜像。请检查这个位置后再试。");
    }
}

}  // namespace

RegionKey::RegionKey(const std::array<std::uint8_t, kRegionKeySize>& secret) : secret_(secret) {
    sodiumReady();
    const RegionMac named =
        mac({std::span(reinterpret_cast<const std::uint8_t*>(kIdLabel), sizeof kIdLabel - 1)});
    std::copy_n(named.begin(), id_.size(), id_.begin());
}

RegionKey::~RegionKey() {
    sodium_memzero(secret_.data(), secret_.size());
}

RegionMac RegionKey::mac(std::initializer_list<std::span<const std::uint8_t>> parts) const {
    crypto_auth_hmacsha256_state state;
    crypto_auth_hmacsha256_init(&state, secret_.data(), secret_.size());
    for (const auto& part : parts)
        crypto_auth_hmacsha256_update(&state, part.data(), part.size());
    RegionMac out{};
    crypto_auth_hmacsha256_final(&state, out.data());
    sodium_memzero(&state, sizeof state);
    return out;
}

bool RegionKey::verifies(const RegionMac& mac,
                         std::initializer_list<std::span<const std::uint8_t>> parts) const {
    const RegionMac expected = this->mac(parts);
    return sodium_memcmp(expected.data(), mac.data(), mac.size()) == 0;
}

fs::path regionKeyPath() {
    const fs::path config = userConfigFolder();
    return config.empty() ? fs::path() : config / "vorlan" / "region.key";
}

std::string regionKeyPlace() {
    const char sep = pathSeparator();
    return userConfigPlace() + sep + "vorlan" + sep + "region.key";
}

RegionKey loadRegionKey() {
    const fs::path path = regionKeyPath();
    if (path.empty()) {
        throw ImageRefusal(
            "找不到你的配置文件夹（没有设置 "
            "HOME），无法确认保存的原内容是本程序为你保存的，没有改动"
            "镜像。请设置 HOME 或 XDG_CONFIG_HOME 后再试。");
    }
    FileOps& ops = systemFileOps();
    // Twice at most: another run of the program may make the key between the look and the make.
    for (int attempt = 0; attempt < 2; ++attempt) {
        FileStatus st;
        if (ops.lstat(path, st) == 0)
            return readKey(ops, path, st);
        // ENOTDIR: a file has the folder's name; making the folder says so.
        if (errno != ENOENT && errno != ENOTDIR)
            refuse(path, "无法读取（" + systemMessage(errno) + "）。");
        makeFolders(path.parent_path());
        std::array<std::uint8_t, kRegionKeySize> secret{};
        sodiumReady();
        randombytes_buf(secret.data(), secret.size());
        try {
            createPrivateFile(ops, path, secret);
            const RegionKey key(secret);
            sodium_memzero(secret.data(), secret.size());
            return key;
        } catch (const IoError& e) {
            sodium_memzero(secret.data(), secret.size());
            if (e.error() != EEXIST) {
                throw ImageRefusal(std::string("无法建立密钥文件：") + e.what() +
                                   "\n没有改动镜像。请检查这个位置后再试。");
            }
        }
    }
    refuse(path, "一直在被其他程序建立或换掉。", "\n请稍后再试。");
}

}  // namespace vorlan

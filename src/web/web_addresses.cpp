#include "web/web_addresses.h"

namespace verdan {

namespace {

quint32 Fnv1a(QByteArrayView text) {
    quint32 h = 2166136261u;
    for (const char c : text) {
        h ^= quint8(c);
        h *= 16777619u;
    }
    return h;
}

void AppendHex(QByteArray& out, quint32 byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += kDigits[(byte >> 4) & 0xF];
    out += kDigits[byte & 0xF];
}

} // namespace

QByteArray HashedFolder(QByteArrayView address) {
    const quint32 h = Fnv1a(address);
    QByteArray folder;
    folder.reserve(5);
    AppendHex(folder, h >> 24);
    folder += '/';
    AppendHex(folder, (h >> 16) & 0xFF);
    return folder;
}

QByteArray InFolder(const char* top, QByteArrayView address, const char* end) {
    QByteArray path = top;
    path += HashedFolder(address);
    path += '/';
    path += address;
    path += end;
    return path;
}

QByteArray PersonPagePath(QByteArrayView hex) {
    return InFolder("p/", hex, ".html");
}

QByteArray BranchScriptPath(QByteArrayView hex) {
    return InFolder("o/", hex, ".js");
}

QByteArray PicturePath(QByteArrayView hex, bool thumbnail) {
    return InFolder("img/", hex, thumbnail ? "-s.jpg" : ".jpg");
}

QByteArray FamilyPagePath(QByteArrayView key, int page) {
    QByteArray path = "f/" + HashedFolder(key).left(2) + '/';
    path += key;
    if (page > 1)
        path += '-' + QByteArray::number(page);
    return path + ".html";
}

QByteArray RootPrefix(QByteArrayView path) {
    QByteArray prefix;
    for (const char c : path)
        if (c == '/')
            prefix += "../";
    return prefix;
}

} // namespace verdan

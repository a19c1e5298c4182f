#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace verdan {

// Where each file of a published site lies, relative to the site's folder. Pages of persons, their
// outline branches and their pictures spread over two levels of folders chosen by a digest of the address,
// 256 folders each, so no folder holds more than a few hundred entries even for millions of persons, and
// an address never moves when the tree grows. The site's script computes the same folders (web_site.js).

// "ab/cd": the two folder levels of an address, from the 32-bit FNV-1a digest of its ASCII text.
QByteArray HashedFolder(QByteArrayView address);

QByteArray PersonPagePath(QByteArrayView hex);   // "p/ab/cd/HEX.html"
QByteArray BranchScriptPath(QByteArrayView hex); // "o/ab/cd/HEX.js": the persons under one in the outline
// A picture's scaled copy: "img/ab/cd/HEX.jpg" to view, "img/ab/cd/HEX-s.jpg" as a thumbnail.
QByteArray PicturePath(QByteArrayView hex, bool thumbnail);
// A page of the persons of one family name: "f/ab/KEY.html", page 2 on as "f/ab/KEY-2.html".
QByteArray FamilyPagePath(QByteArrayView key, int page);

// How far below the site's folder a file lies, as "../" repeated: "" for "index.html", "../../../" for a
// person page.
QByteArray RootPrefix(QByteArrayView path);

} // namespace verdan

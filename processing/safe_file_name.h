#pragma once
// File and folder names that come from page text (an image's name after the
// last "/" of its path, a cover name built from an issue number, an issue
// folder named by a number or date the site printed) must stay inside their
// folder: separators, ".." and control characters are made harmless.

#include "settings/bytetext.h"

#include <QList>
#include <QString>

// name with "/", "\" and control characters turned into "_"; "", "." and
// ".." become "_", "_" and "__". Other bytes are kept, so ordinary names
// pass unchanged.
ByteText SafeFileName(const ByteText& name);

// The pictures the issue index puts in img/ for its templates. A site
// picture never takes one of these names, or it would replace the index's.
inline constexpr const char* IndexPictureNames[] = {"t-01.gif", "t-02.gif", "ktlogo.gif",
                                                    "cover.jpg", "cover.bmp"};
// What a site picture of such a name is called instead: "site-" before it.
inline constexpr char SitePicturePrefix[] = "site-";

// The longest picture file name kept as the site gives it, in bytes of the
// file system's UTF-8: names may have 255, and the hidden ".NAME.norvel-part"
// a file is written through needs 13 of them.
inline constexpr int LongestPictureName = 200;

// The part of an image path after its last "/" (the whole path when it has
// none), made safe; a name of IndexPictureNames gets SitePicturePrefix. A
// name longer than LongestPictureName is cut, keeping its extension, with a
// hash of the whole name before it, so two long names stay apart.
ByteText ImageFileName(const ByteText& imagePath);

// The links of a processed page to img/ + the name of one of picturePaths
// that ImageFileName had to shorten made to lead to the shortened name.
void LinkShortenedPictures(ByteText& page, const QList<ByteText>& picturePaths);

// The links of a processed page to img/ + a name of IndexPictureNames made
// to lead to the site's picture, saved under its ImageFileName.
void LinkSitePicturesApart(ByteText& page);

// A magazine cover's file name in the temp folder: the issue number
// followed by the last four characters of the cover's path (normally its
// extension with the dot), made safe.
ByteText CoverFileName(const ByteText& issueNumber, const ByteText& coverPath);

// A safe byte name as a path component.
QString FileNameOf(const ByteText& safeName);

#pragma once
// File and folder names that come from page text (an image's name after the
// last "/" of its path, a cover name built from an issue number, an issue
// folder named by a number or date the site printed) must stay inside their
// folder: separators, ".." and control characters are made harmless.

#include "settings/bytetext.h"

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

// The part of an image path after its last "/" (the whole path when it has
// none), made safe; a name of IndexPictureNames gets SitePicturePrefix.
ByteText ImageFileName(const ByteText& imagePath);

// The links of a processed page to img/ + a name of IndexPictureNames made
// to lead to the site's picture, saved under its ImageFileName.
void LinkSitePicturesApart(ByteText& page);

// A magazine cover's file name in the temp folder: the issue number
// followed by the last four characters of the cover's path (normally its
// extension with the dot), made safe.
ByteText CoverFileName(const ByteText& issueNumber, const ByteText& coverPath);

// A safe byte name as a path component.
QString FileNameOf(const ByteText& safeName);

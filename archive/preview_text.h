#pragma once
// What the archive browser previews of an issue index: the page itself with
// three changes that suit the small preview. The index file is not touched.

#include "settings/bytetext.h"

// Every table of the sites' fixed width (width="600") fills the preview
// (width="100%"); the first white "#ffffff" becomes grey "#CCCCCC", so the
// page stands apart from the window; the site's footer, from the first
// "&copy;" through the first "N019051", is cut away.
ByteText PreviewText(ByteText index);

#pragma once
// Pieces shared by the generated pages: the document head with its charset,
// the scripts, counters and adverts that the processing script is meant to
// strip, and the footer.

#include "settings/bytetext.h"
#include "tools/demosite/random.h"

namespace page {

// "<!DOCTYPE ...><html><head>" with the Windows-1251 charset, a title, a
// stylesheet link and the site scripts, through "<body>".
ByteText head(const ByteText& title, const ByteText& stylesheet);
// A banner block between "<!--adv-->" and "<!--/adv-->", with its script.
ByteText advert(Rng& rng);
// The counter script and picture between "<!--counter-->" and "<!--/counter-->".
ByteText counter(const ByteText& site);
// Closes the document.
ByteText tail(const ByteText& copyright);

} // namespace page

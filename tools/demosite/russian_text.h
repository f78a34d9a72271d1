#pragma once
// Russian headlines, annotations, paragraphs and names for the generated
// pages, as Windows-1251 byte text. The phrases are complete on their own, so
// any combination reads as plausible newspaper prose. No generated text holds
// "<", ">", "/" or a double quote, so it never disturbs the page patterns.

#include "settings/bytetext.h"
#include "tools/demosite/random.h"

#include <QDate>

namespace russian {

ByteText headline(Rng& rng);
ByteText annotation(Rng& rng);
ByteText sentence(Rng& rng);
ByteText paragraph(Rng& rng, int sentences);
ByteText personName(Rng& rng);
ByteText caption(Rng& rng);
// Newspaper sections and magazine rubrics: a display name and a path word.
struct Rubric {
    ByteText name;
    ByteText slug;
};
const QList<Rubric>& newspaperRubrics();
const QList<Rubric>& magazineRubrics();
ByteText magazineHeadline(Rng& rng);

// A sentence a few articles carry beside their random prose, so that searches
// have known words in known pages: forms of «фестиваль» in the newspaper's
// newest issue (articles 1 and 2), its second (article 1) and the magazine's
// newest (article 1); «Северный мост» as a phrase in the newspaper's newest
// article 2 and its words apart in article 3; «оркестры» beside «фестивале»
// in article 1; «ёлку» in article 2. issue and article count from 0, newest
// first; empty for every other article.
ByteText searchSample(bool magazine, int issue, int article);

// Month names: nominative for calendar headings, genitive for dates.
ByteText monthNominative(int month);
ByteText monthGenitive(int month);
// "12 января 2005", as both sites print a date.
ByteText printedDate(const QDate& date);

} // namespace russian

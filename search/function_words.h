#pragma once
// The Russian function words the index leaves out: prepositions,
// conjunctions, particles and pronouns, which nearly every page holds and no
// search looks for. Left out, they take a tenth of the index's size away,
// and a query drops them the same way, in a phrase too, so that «"мост у
// окраины"» finds the page that says so.

#include <QString>
#include <xapian.h>

namespace search {

// For the term generator (with its STOP_ALL strategy: a function word takes
// no position, so a phrase without it still matches word for word).
const Xapian::Stopper& FunctionWords();

// The query with every function word taken out, an excluded one ("-и")
// included; query is already lower case with «ё» folded.
QString WithoutFunctionWords(const QString& query);

} // namespace search

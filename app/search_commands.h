#pragma once
// The search commands of norvel2, answered by the lean program itself
// (a search must start fast) without the single-copy lock:
//   norvel2 --search QUERY [--source kp|kt] [--from DATE] [--to DATE] [--limit N]
//       the archive's pages that hold the query's words, best first
//   norvel2 --reindex
//       builds the search index again from the archive
// DATE is DD.MM.YYYY or YYYY-MM-DD. Exit status: 0 hits (or index built),
// 1 no hits (or the index could not be written), 2 a bad query or switch.

#include <cstring>
#include <optional>

inline bool IsSearchCommand(int argc, char** argv) {
    return argc >= 2 &&
           (std::strcmp(argv[1], "--search") == 0 || std::strcmp(argv[1], "--reindex") == 0);
}

std::optional<int> RunSearchCommand(int argc, char** argv);

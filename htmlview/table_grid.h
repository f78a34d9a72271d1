#pragma once
// The rows and cells of every table of a document, in document order. A
// layout pass gives a TR or TD to the innermost open table, so the cells of
// a table are those that come while it is innermost, whatever the element
// tree says (an unclosed P in a cell shifts the tree, not the rows). A TD
// before any TR of its table opens a row of its own.

#include "htmlview/html_element.h"

#include <QHash>

#include <vector>

namespace htmlview {

struct TableShape {
    std::vector<std::vector<int>> rows; // cell element indices, row by row
    int columns = 0;                    // the widest row, spans counted
};

class TableGrid {
public:
    explicit TableGrid(const HtmlElements& elements);

    // The shape of the table at that element; an empty one for other elements.
    const TableShape& shape(int tableIndex) const;

private:
    std::vector<TableShape> shapes_;
    QHash<int, int> byElement_;
};

} // namespace htmlview

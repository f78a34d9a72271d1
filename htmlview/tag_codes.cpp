#include "htmlview/tag_codes.h"

#include <QHash>

namespace htmlview {

namespace {

QHash<ByteText, int> buildTable() {
    struct Entry {
        const char* name;
        int code;
    };
    static const Entry entries[] = {
        {"HEAD", 2},     {"/HEAD", 3},   {"TITLE", 4},     {"/TITLE", 5},      {"BODY", 6},
        {"NOFRAMES", 6}, {"/BODY", 7},   {"/NOFRAMES", 7}, {"!--", 8},         {"--", 9},
        {"STRONG", 10},  {"B", 10},      {"/STRONG", 11},  {"/B", 11},         {"EM", 12},
        {"I", 12},       {"/EM", 13},    {"/I", 13},       {"U", 14},          {"/U", 15},
        {"P", 16},       {"/P", 17},     {"BR", 18},       {"HR", 19},         {"UL", 20},
        {"/UL", 21},     {"OL", 22},     {"/OL", 23},      {"LI", 24},         {"TABLE", 25},
        {"/TABLE", 26},  {"THEAD", 27},  {"/THEAD", 28},   {"TBODY", 29},      {"/TBODY", 30},
        {"TFOOT", 31},   {"/TFOOT", 32}, {"TR", 33},       {"/TR", 34},        {"TD", 35},
        {"TH", 35},      {"/TD", 36},    {"/TH", 36},      {"FONT", 37},       {"/FONT", 38},
        {"A", 39},       {"/A", 40},     {"IMG", 41},      {"BLOCKQUOTE", 42}, {"/BLOCKQUOTE", 43},
        {"BIG", 46},     {"/BIG", 47},   {"SMALL", 48},    {"/SMALL", 49},     {"CENTER", 50},
        {"/CENTER", 51}, {"SUB", 52},    {"/SUB", 53},     {"SUP", 54},        {"/SUP", 55},
        {"FORM", 56},    {"/FORM", 57},  {"SCRIPT", 58},   {"/SCRIPT", 59},    {"STYLE", 60},
        {"/STYLE", 61},
    };
    QHash<ByteText, int> table;
    for (const Entry& e : entries)
        table.insert(ByteText(e.name), e.code);
    for (char digit = '1'; digit <= '6'; ++digit) {
        table.insert(ByteText("H") + digit, tag::Heading);
        table.insert(ByteText("/H") + digit, tag::HeadingEnd);
    }
    return table;
}

} // namespace

int TagCodeOf(const ByteText& upperName) {
    static const QHash<ByteText, int> table = buildTable();
    return table.value(upperName, tag::Other);
}

bool IsClosingCode(int code) {
    switch (code) {
    case 3:
    case 5:
    case 7:
    case 11:
    case 13:
    case 15:
    case 17:
    case 21:
    case 23:
    case 26:
    case 34:
    case 36:
    case 38:
    case 40:
    case 43:
    case 45:
    case 47:
    case 49:
    case 51:
        return true;
    default:
        return false;
    }
}

bool IsContainerCode(int code) {
    switch (code) {
    case 2:
    case 4:
    case 6:
    case 10:
    case 12:
    case 14:
    case 16:
    case 20:
    case 22:
    case 25:
    case 33:
    case 35:
    case 37:
    case 39:
    case 42:
    case 44:
    case 46:
    case 48:
    case 50:
        return true;
    default:
        return false;
    }
}

} // namespace htmlview

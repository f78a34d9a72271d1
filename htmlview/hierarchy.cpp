#include "htmlview/hierarchy.h"

#include "htmlview/tag_codes.h"

#include <vector>

namespace htmlview {

namespace {

struct Level {
    int parent;
    int childCount;
};

} // namespace

void mBuildHierarchy(HtmlElements& elements) {
    const int count = int(elements.size());
    for (HtmlElement& e : elements) {
        e.ChildCount = 0;
        e.Children.clear();
        e.Parent = 0;
        e.SiblingIndex = 0;
    }
    if (count == 0)
        return;
    std::vector<Level> open{{0, 0}};
    int pos = 0;
    // Ends the innermost level: its count becomes the parent's ChildCount and
    // the enclosing level moves on to its next child.
    auto closeLevel = [&]() {
        elements[open.back().parent].ChildCount = open.back().childCount;
        open.pop_back();
        if (!open.empty())
            ++open.back().childCount;
    };
    while (!open.empty()) {
        ++pos;
        if (pos >= count) {
            while (!open.empty())
                closeLevel();
            break;
        }
        Level& level = open.back();
        HtmlElement& parent = elements[level.parent];
        HtmlElement& child = elements[pos];
        parent.Children.append(pos);
        child.Parent = parent.ElementIndex;
        child.SiblingIndex = level.childCount;
        if (child.IsTag && IsClosingCode(child.TagType)) {
            // The closer stays recorded just beyond the parent's count.
            closeLevel();
        } else if (child.IsTag && IsContainerCode(child.TagType)) {
            open.push_back({pos, 0});
        } else {
            ++level.childCount;
        }
    }
}

const HtmlElement* GetParent(const HtmlElements& elements, const HtmlElement& element) {
    if (element.Parent <= 0 || element.Parent >= elements.size())
        return nullptr;
    return &elements[element.Parent];
}

const HtmlElement* GetFirstChild(const HtmlElements& elements, const HtmlElement& element) {
    if (element.ChildCount <= 0 || element.Children.isEmpty())
        return nullptr;
    return &elements[element.Children[0]];
}

const HtmlElement* GetNextSibling(const HtmlElements& elements, const HtmlElement& element) {
    if (element.Parent < 0 || element.Parent >= elements.size())
        return nullptr;
    const HtmlElement& parent = elements[element.Parent];
    const int next = element.SiblingIndex + 1;
    if (next >= parent.ChildCount || next >= parent.Children.size())
        return nullptr;
    return &elements[parent.Children[next]];
}

} // namespace htmlview

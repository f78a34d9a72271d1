#include "htmlview/render.h"

#include "htmlview/numeric.h"
#include "htmlview/render_pass.h"

#include <algorithm>

namespace htmlview {

void HtmlRenderer::Render(HtmlSurface& surface, bool DoLayout, int scrollValue) {
    if (DoLayout || !laidOut_) {
        list_.clear();
        RenderPass pass(doc_, surface, list_, loader_);
        pass.Run();
        figures_ = {list_.items().size(), list_.memoryUsed(), pass.cachedWidths()};
        laidOut_ = true;
        scrollValue = DoLayout ? 0 : scrollValue;
    }
    // A BODY of a later document may have changed the background since.
    list_.setBackColor(doc_.BackColor);
    const long long wanted =
        !DoLayout && doc_.EnableScroll ? static_cast<long long>(kScrollStep) * scrollValue : 0;
    const int offset = int(std::clamp<long long>(wanted, 0, kMaxPosition));
    list_.paint(surface, offset);
}

} // namespace htmlview

#include "htmlview/render.h"

#include "htmlview/render_pass.h"

namespace htmlview {

void HtmlRenderer::Render(HtmlSurface& surface, bool DoLayout, int scrollValue) {
    if (DoLayout || !laidOut_) {
        list_.clear();
        RenderPass(doc_, surface, list_, loader_).Run();
        laidOut_ = true;
        scrollValue = DoLayout ? 0 : scrollValue;
    }
    // A BODY of a later document may have changed the background since.
    list_.setBackColor(doc_.BackColor);
    const int offset = !DoLayout && doc_.EnableScroll ? kScrollStep * scrollValue : 0;
    list_.paint(surface, offset);
}

} // namespace htmlview

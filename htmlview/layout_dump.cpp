#include "htmlview/layout_dump.h"

#include <QTextStream>

namespace htmlview {

namespace {

QString shortText(const ByteText& text) {
    QString shown = cp1251::toUnicode(text);
    shown.replace(QLatin1Char('\0'), QStringLiteral("\\0"));
    if (shown.size() > 40)
        shown = shown.left(37) + QStringLiteral("...");
    return shown;
}

QString elementFields(const HtmlElement& e) {
    QString extra;
    if (e.AlignCenter)
        extra += QStringLiteral(" center");
    if (e.AlignRight)
        extra += QStringLiteral(" right");
    if (e.ListNumbered)
        extra += QStringLiteral(" number=%1").arg(e.ListNumber);
    if (e.TablePixelWidth != 0)
        extra += QStringLiteral(" tablepx=%1").arg(e.TablePixelWidth);
    if (e.CellPixelWidth != 0)
        extra += QStringLiteral(" cellpx=%1").arg(e.CellPixelWidth);
    if (e.ImageWidth != 0 || e.ImageHeight != 0)
        extra += QStringLiteral(" image=%1x%2").arg(e.ImageWidth).arg(e.ImageHeight);
    return extra;
}

QString itemLine(const DisplayList& list, const DrawItem& d) {
    switch (d.kind) {
    case DrawItem::Text: {
        const FontState& f = list.font(d.font);
        return QStringLiteral("text %1,%2 \"%3\" size=%4%5%6%7 color=%8")
            .arg(d.x1)
            .arg(d.y1)
            .arg(cp1251::toUnicode(list.text(d)))
            .arg(f.size)
            .arg(f.bold ? QStringLiteral(" bold") : QString())
            .arg(f.italic ? QStringLiteral(" italic") : QString())
            .arg(f.underline ? QStringLiteral(" underline") : QString())
            .arg(d.color, 6, 16, QLatin1Char('0'));
    }
    case DrawItem::Line:
        return QStringLiteral("line %1,%2 %3,%4 color=%5")
            .arg(d.x1)
            .arg(d.y1)
            .arg(d.x2)
            .arg(d.y2)
            .arg(d.color, 6, 16, QLatin1Char('0'));
    case DrawItem::Picture:
        return QStringLiteral("picture %1,%2 %3x%4")
            .arg(d.x1)
            .arg(d.y1)
            .arg(d.x2 - d.x1)
            .arg(d.y2 - d.y1 + 1);
    }
    return {};
}

} // namespace

QString DumpLayout(const HtmlDocument& doc, const DisplayList& list) {
    QString out;
    QTextStream stream(&out);
    stream << "elements " << doc.Elements.size() << "\n";
    for (const HtmlElement& e : doc.Elements) {
        stream << e.ElementIndex << " code=" << e.TagType << " T=" << e.Top << " L=" << e.Left
               << " B=" << e.Bottom << " R=" << e.Right << " I=" << e.Indent << elementFields(e)
               << "  " << shortText(e.Text) << "\n";
    }
    stream << "drawn " << list.items().size() << "\n";
    for (const DrawItem& d : list.items())
        stream << itemLine(list, d) << "\n";
    return out;
}

} // namespace htmlview

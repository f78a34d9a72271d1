#include "tools/demosite/page_parts.h"

namespace page {

ByteText head(const ByteText& title, const ByteText& stylesheet) {
    ByteText out;
    out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n";
    out += "<html>\r\n<head>\r\n";
    out += "<meta charset=windows-1251>\r\n";
    out += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n";
    out += "<title>" + title + "</title>\r\n";
    out += "<link rel=\"stylesheet\" type=\"text/css\" href=\"" + stylesheet + "\">\r\n";
    out += "<script type=\"text/javascript\" src=\"/_js/common.js\"></script>\r\n";
    out += "<script type=\"text/javascript\">\r\n<!--\r\n"
           "function openPrint(url) { window.open(url, 'print', 'width=700,height=600'); }\r\n"
           "//-->\r\n</script>\r\n";
    out += "</head>\r\n<body>\r\n";
    return out;
}

ByteText advert(Rng& rng) {
    static const char* const offers[] = {
        "Кредит за один день",       "Скидки на ноутбуки до 30%",
        "Туры в Египет от 299 у.е.", "Мобильная связь без абонентской платы",
        "Окна и двери с установкой", "Курсы английского языка",
    };
    const int count = int(sizeof(offers) / sizeof(offers[0]));
    const int banner = rng.between(1000, 9999);
    ByteText out = "<!--adv-->\r\n<div class=\"adv\">\r\n";
    out += "<script type=\"text/javascript\">\r\nvar bn = " + ByteText::number(banner) +
           "; document.write('<scr' + 'ipt src=\"/_adv/show.js?bn=' + bn + '\"></scr' + "
           "'ipt>');\r\n</script>\r\n";
    out += "<a href=\"/_adv/click?bn=" + ByteText::number(banner) + "\"><b>" + W("Реклама") +
           ":</b> " + W(offers[rng.below(count)]) + "</a>\r\n";
    out += "</div>\r\n<!--/adv-->\r\n";
    return out;
}

ByteText counter(const ByteText& site) {
    ByteText out = "<!--counter-->\r\n<script type=\"text/javascript\">\r\n"
                   "document.write('<img src=\"/_cnt/hit.gif?site=" +
                   site + "&r=' + escape(document.referrer) + '\" width=1 height=1>');\r\n";
    out += "</script>\r\n<noscript><img src=\"/_cnt/hit.gif?site=" + site +
           "\" width=\"1\" height=\"1\" alt=\"\"></noscript>\r\n<!--/counter-->\r\n";
    return out;
}

ByteText tail(const ByteText& copyright) {
    return "<div class=\"copyright\">" + copyright + "</div>\r\n</body>\r\n</html>\r\n";
}

} // namespace page

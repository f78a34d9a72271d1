#include "net/proxy_settings.h"

#include "net/download_control.h"
#include "settings/settings.h"

void HandProxySettings(Download_Control& DC, const Settings& s) {
    DC.UseProxyServer(cp1251::fromUnicode(s.ProxyName), cp1251::fromUnicode(s.ProxyPort),
                      s.UseProxy);
    DC.ProxyAut(cp1251::fromUnicode(s.ProxyLogin), cp1251::fromUnicode(s.ProxyPass),
                s.UseProxy && s.ProxyAut);
}

#pragma once
// The files every page of the sites refers to beside its content: the logo,
// stylesheets, scripts, the counter picture and the advert script.

#include "tools/demosite/http_message.h"

#include <optional>

// The answer for one of those paths, or nothing when the path is not one.
std::optional<Response> serviceFile(const ByteText& path);

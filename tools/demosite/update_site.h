#pragma once
// The update server: the version description "/version.info", the release
// file it names, the download counter "/download.php?version=" and the
// program's home page "/". The release is signed with the demo key
// (release_signing.h). The switches may name another release file, or
// announce a wrong name, size, hash or signature for it.

#include "tools/demosite/site.h"

class UpdateSite : public Site {
public:
    using Site::Site;
    Response answer(const Request& request) override;
    ByteText hostKey() const override { return "update"; }

    // The generated release file's name for a version, and its bytes.
    static ByteText releaseName(const ByteText& version);
    static ByteText releaseFile(const ByteText& version);
    // The release as configured: its announced name and its bytes.
    ByteText announcedName() const;
    ByteText releaseBytes() const;
    ByteText versionInfo(const HostNames& names) const;

    int downloadCount() const { return downloads_; }

private:
    int downloads_ = 0;
};

#include "app/download_run.h"

#include "net/download_control.h"

DownloadRun::DownloadRun(AppState& app, Download_Control& DC, Messenger& messenger,
                         DownloadView& view, Hang_Up& hangUp, const BookMaker& makeBook)
    : app(app), st(app.state), settings(app.settings), DC(DC), messenger(messenger), view(view),
      hangUp(hangUp), makeBook(makeBook), processor(messenger) {
    processor.setShippedScript(app.ProgramFolder + "/data/script.txt");
}

// Over a real network most of a fetch is waiting for round trips: with more
// than one connection allowed, the fetches of a loop run that many at a time
// ahead of it, from the host set now.
std::unique_ptr<FetchPool> DownloadRun::fetchAhead(const QList<ByteText>& paths) {
    if (settings.Connections <= 1 || paths.size() < 2)
        return nullptr;
    auto ahead = std::make_unique<FetchPool>(DC, settings.Connections);
    ahead->Plan(paths, settings.UseCashe);
    return ahead;
}

ByteText DownloadRun::fetch(const ByteText& path) {
    return pool ? pool->Take(path) : DC.Down(path, settings.UseCashe);
}

void DownloadRun::appendPictures(const QList<ByteText>& paths) {
    for (qsizetype i = 0; i < paths.size() && st.ImageList.size() < MaxImages; ++i)
        st.ImageList.append(paths.at(i));
    st.ImageCount = int16_t(st.ImageList.size());
}

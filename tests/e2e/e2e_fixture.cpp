#include "tests/e2e/e2e_fixture.h"

#include "app/all_number.h"
#include "ebook/issue_book.h"
#include "net/response.h"
#include "settings/program_folder.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

HangUpPlatform NoLinks() {
    HangUpPlatform p;
    p.listInterfaces = [] { return QList<InterfaceInfo>(); };
    p.listConnections = [] { return QList<ActiveConnection>(); };
    p.findProgram = [](const QString&) { return QString(); };
    p.run = [](const QString&, const QStringList&) { return false; };
    return p;
}

} // namespace

E2ERun::E2ERun(const QStringList& siteArguments)
    : site(siteArguments), hangUp(NoLinks()), controller(app, messenger), window(controller),
      view(controller, &window), download(app, DC, messenger, view, hangUp) {
    site.installInto(home.path());
    download.makeBook = MakeIssueBook;
    app.ProgramFolder = ProgramFolder();
    app.sites = LoadSites(app.ProgramFolder);
    DC.setCaFile(app.sites.CaFile);
    DC.setMessenger(&messenger);
    DC.setTrafficCounter(&app.state.TrafficBytes);
    QObject::connect(&DC, &Download_Control::mainStatusChanged, &controller,
                     &MainController::SetStat);
    MainHooks& h = controller.hooks;
    h.stopFetch = [this] { DC.Stopped(); };
    h.useProxyServer = [this](const ByteText& name, const ByteText& port) {
        DC.UseProxyServer(name, port, true);
    };
    h.proxyAut = [this](const ByteText& login, const ByteText& password) {
        DC.ProxyAut(login, password, true);
    };
    h.clearCashe = [this] { DC.ClearCashe(); };
    h.hangUp = [this] { hangUp.HangUpAll(); };
    h.startDownload = [this] { download.Start(); };
    h.endProgram = [this](int) { ended = true; };
    QObject::connect(&controller, &MainController::changed, [this] {
        if (statuses.isEmpty() || statuses.last() != controller.Stat)
            statuses.append(controller.Stat);
        if (!stopAt_.isEmpty() && controller.Stat == stopAt_) {
            stopAt_.clear();
            QTimer::singleShot(20, &controller, [this] { controller.Command1Click(); });
        }
    });
    controller.Load(QString(), [this](const QString& folder, int16_t size) {
        DC.PathCasheFiles(folder);
        DC.CasheSize(size);
    });
    window.show();
}

void E2ERun::Download(int16_t source, std::function<void(Select_Number&)> choose) {
    view.setSelectionHook([choose](Select_Number& w) {
        QTimer::singleShot(0, &w, [&w, choose] {
            if (choose)
                choose(w);
            else
                w.Command1->click();
        });
    });
    statuses.clear();
    controller.SelectSource(source);
    controller.Command1Click();
}

void E2ERun::UseAuthorisedProxy() {
    UseDemoProxy(app.settings, site.proxyPort());
}

void E2ERun::StopWhenStatus(const QString& text) {
    stopAt_ = text;
}

ByteText E2ERun::file(const QString& name) const {
    QFile f(folder() + "/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : ByteText();
}

bool E2ERun::exists(const QString& name) const {
    return QFile::exists(folder() + "/" + name);
}

int E2ERun::requestsFor(const ByteText& path) const {
    int count = 0;
    for (const ByteText& line : site.requestLines())
        if (line.split(' ').value(1).endsWith(path) &&
            (line.split(' ').value(1) == path || line.split(' ').value(1).startsWith("http://")))
            ++count;
    return count;
}

ByteText E2ERun::fetchBody(const ByteText& host, const ByteText& path) {
    Download_Control direct;
    direct.setCaFile(app.sites.CaFile);
    direct.RHost(host);
    return ExtractBody(direct.Down(path, false));
}

std::function<void(Select_Number&)> PickFromList(int position) {
    return [position](Select_Number& w) {
        w.Option2->click();
        w.setListWindowHook([position](AllNumber& list) {
            QTimer::singleShot(0, &list, [&list, position] {
                list.List1->setCurrentRow(position);
                list.Command1->click();
            });
        });
        w.Command3->click();
        w.Command1->click();
    };
}

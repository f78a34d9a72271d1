// The main window's rules: source choice, the idle and downloading states,
// the stop confirmation, the clock, the unattended start and the unload,
// answered through the scripted messenger.
#include "app/main_controller.h"
#include "settings/utf8_text.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MainRules : public ::testing::Test {
protected:
    TempProgramFolder folder;
    ScriptedMessenger messenger;
    AppState app;
    std::unique_ptr<MainController> main;
    QStringList calls; // what the hooks were asked to do, in order

    void SetUp() override {
        app.ProgramFolder = folder.path();
        main = std::make_unique<MainController>(app, messenger);
        MainHooks& h = main->hooks;
        h.startDownload = [this] {
            calls << QString("start source %1 downloading %2")
                         .arg(app.state.CurrentSource)
                         .arg(app.state.Downloading);
        };
        h.stopFetch = [this] { calls << "stop fetch"; };
        h.useProxyServer = [this](const ByteText& n, const ByteText& p) {
            calls << "proxy " + QString::fromLatin1(n + ":" + p);
        };
        h.proxyAut = [this](const ByteText& l, const ByteText& p) {
            calls << "auth " + cp1251::toUnicode(l + "/" + p);
        };
        h.clearCashe = [this] { calls << "clear cashe"; };
        h.hangUp = [this] { calls << "hang up"; };
        h.openArchive = [this] { calls << "archive"; };
        h.openSettings = [this] { calls << "settings"; };
        h.openAbout = [this] { calls << "about"; };
        h.endProgram = [this](int code) { calls << QString("end %1").arg(code); };
    }

    void expectIdle() {
        EXPECT_FALSE(app.state.Downloading);
        EXPECT_EQ(main->Command1Caption, U("Загрузить"));
        EXPECT_TRUE(main->Command2Enabled && main->Command3Enabled);
        EXPECT_TRUE(main->Option1Enabled && main->Option2Enabled);
        EXPECT_FALSE(main->Timer1.isActive());
    }
};

TEST_F(MainRules, LoadSetsTheCaptionAndTheNewspaperAsSource) {
    QSignalSpy focus(main.get(), &MainController::focusCommand1);
    main->Load("");
    EXPECT_EQ(main->Caption, U("Норвел (v 2.1.7)"));
    EXPECT_EQ(app.state.CurrentSource, 1);
    EXPECT_TRUE(main->Option1Checked);
    EXPECT_FALSE(main->Option2Checked);
    EXPECT_EQ(main->LogoSource, 1);
    EXPECT_EQ(main->Stat, "Ready");
    EXPECT_FALSE(main->Frame2Visible);
    EXPECT_FALSE(main->CString.isActive());
    EXPECT_GE(focus.count(), 1);
    expectIdle();
}

TEST_F(MainRules, TheOptionButtonsChooseTheSourceAndItsLogo) {
    main->Load("");
    main->SelectSource(2);
    EXPECT_EQ(app.state.CurrentSource, 2);
    EXPECT_TRUE(main->Option2Checked);
    EXPECT_FALSE(main->Option1Checked);
    EXPECT_EQ(main->LogoSource, 2);
    main->SelectSource(1);
    EXPECT_EQ(app.state.CurrentSource, 1);
    EXPECT_EQ(main->LogoSource, 1);
}

TEST_F(MainRules, StartingADownloadEntersTheDownloadingState) {
    main->Load("");
    app.state.TrafficBytes = 5000;
    app.state.ElapsedTime = 99;
    main->hooks.startDownload = [this] {
        EXPECT_TRUE(app.state.Downloading);
        EXPECT_FALSE(app.state.StopRequested);
        EXPECT_EQ(main->Command1Caption, U("Стоп"));
        EXPECT_FALSE(main->Command2Enabled || main->Command3Enabled);
        EXPECT_FALSE(main->Option1Enabled || main->Option2Enabled);
        EXPECT_TRUE(main->Timer1.isActive());
        EXPECT_TRUE(main->Frame2Visible);
        EXPECT_EQ(app.state.TrafficBytes, 0);
        EXPECT_EQ(app.state.ElapsedTime, 0);
        EXPECT_EQ(main->Label1, U("Время: 0:00:00"));
        calls << "started";
    };
    main->Command1Click();
    EXPECT_EQ(calls, QStringList{"started"});
    EXPECT_TRUE(app.state.Downloading); // the workflow ends it, not the button
    main->ResetControls();
    expectIdle();
    EXPECT_TRUE(main->Frame2Visible); // shown once, never hidden again
}

TEST_F(MainRules, WithoutAWorkflowTheWindowGoesBackToIdle) {
    main->hooks.startDownload = nullptr;
    main->Command1Click();
    expectIdle();
}

TEST_F(MainRules, TheProxyIsHandedOnOnlyWhenOnAndAuthorisationOnlyWithIt) {
    app.settings.ProxyName = "10.0.0.1";
    app.settings.ProxyPort = "3128";
    app.settings.ProxyLogin = U("юзер");
    app.settings.ProxyPass = "pw";
    app.settings.ProxyAut = true;
    main->Command1Click(); // UseProxy off: nothing, not even the authorisation
    main->ResetControls();
    app.settings.UseProxy = true;
    main->Command1Click();
    main->ResetControls();
    app.settings.ProxyAut = false;
    main->Command1Click();
    EXPECT_EQ(calls, (QStringList{"start source 1 downloading 1", "proxy 10.0.0.1:3128",
                                  U("auth юзер/pw"), "start source 1 downloading 1",
                                  "proxy 10.0.0.1:3128", "start source 1 downloading 1"}));
}

TEST_F(MainRules, AStopAnsweredYesEndsTheDownload) {
    main->Command1Click();
    calls.clear();
    messenger.answer(MessageAnswer::Yes);
    main->Command1Click();
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text, U("Вы уверены, что хотите остановить процесс загрузки?"));
    EXPECT_EQ(messenger.shown()[0].title, U("Подтверждение"));
    EXPECT_EQ(messenger.shown()[0].icon, MessageIcon::Question);
    EXPECT_EQ(messenger.shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(calls, QStringList{"stop fetch"});
    expectIdle();
    EXPECT_TRUE(app.state.StopRequested);
    EXPECT_EQ(main->Stat, U("Загрузка прервана пользователем"));
}

TEST_F(MainRules, AStopAnsweredNoGoesOnAsIfNeverAsked) {
    main->Command1Click();
    calls.clear();
    bool downloadingWhileAsked = true;
    struct Spy : Messenger {
        bool* seen;
        AppState* app;
        MessageAnswer Show(const QString&, const QString&, MessageIcon, MessageButtons) override {
            *seen = app->state.Downloading;
            return MessageAnswer::No;
        }
    } spy;
    spy.seen = &downloadingWhileAsked;
    spy.app = &app;
    MainController asking(app, spy);
    asking.hooks = main->hooks;
    asking.Command1Click();
    EXPECT_FALSE(downloadingWhileAsked); // cleared before the question
    EXPECT_TRUE(app.state.Downloading);
    EXPECT_FALSE(app.state.StopRequested);
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(MainRules, AfterAStopTheHangUpIsOfferedOnlyWithKillConnect) {
    app.settings.KillConnect = true;
    main->Command1Click();
    calls.clear();
    messenger.answer(MessageAnswer::Yes);
    messenger.answer(MessageAnswer::Yes);
    main->Command1Click();
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].text, U("Разорвать соединение?"));
    EXPECT_EQ(messenger.shown()[1].title, U("Подтверждение"));
    EXPECT_EQ(messenger.shown()[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(calls, (QStringList{"stop fetch", "hang up"}));

    calls.clear();
    messenger.clear();
    main->Command1Click();
    messenger.answer(MessageAnswer::Yes);
    messenger.answer(MessageAnswer::No);
    calls.clear();
    main->Command1Click();
    EXPECT_EQ(calls, QStringList{"stop fetch"});

    app.settings.KillConnect = false;
    messenger.clear();
    main->Command1Click();
    main->Command1Click(); // the empty script answers Yes
    EXPECT_EQ(messenger.shown().size(), 1);
}

TEST_F(MainRules, TheClockCountsTicksAsHoursMinutesSeconds) {
    EXPECT_EQ(ElapsedText(0), "0:00:00");
    EXPECT_EQ(ElapsedText(65), "0:01:05");
    EXPECT_EQ(ElapsedText(3600 * 12 + 59), "12:00:59");
    main->Command1Click();
    for (int i = 0; i < 61; ++i)
        main->Timer1Tick();
    EXPECT_EQ(app.state.ElapsedTime, 61);
    EXPECT_EQ(main->Label1, U("Время: 0:01:01"));
    EXPECT_EQ(main->Timer1.interval(), 1000);
}

TEST_F(MainRules, TheClockRunsOnTheRealTimer) {
    main->Timer1.setInterval(20);
    main->hooks.startDownload = [] {};
    main->Command1Click();
    main->Timer1.setInterval(20);
    QTest::qWait(300);
    EXPECT_GE(app.state.ElapsedTime, 2);
    main->ResetControls();
    const int32_t stopped = app.state.ElapsedTime;
    QTest::qWait(60);
    EXPECT_EQ(app.state.ElapsedTime, stopped);
}

TEST_F(MainRules, ResetControlsLeavesTheStatusAndTheProgressPanel) {
    main->Command1Click();
    main->SetStat(U("Загрузка страницы 3 из 9..."));
    main->ResetControls();
    EXPECT_EQ(main->Stat, U("Загрузка страницы 3 из 9..."));
    EXPECT_TRUE(main->Frame2Visible);
}

TEST_F(MainRules, AnUnattendedNewspaperRunStartsByItself) {
    main->hooks.concludeUnattended = [this] {
        calls << "conclude";
        return 1;
    };
    main->Load("-kp");
    EXPECT_TRUE(main->CString.isActive());
    EXPECT_EQ(main->CString.interval(), 0) << "on the next turn of the event loop";
    EXPECT_TRUE(calls.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_FALSE(main->CString.isActive());
    EXPECT_EQ(calls, QStringList({"start source 1 downloading 1", "conclude", "end 1"}))
        << "the program ends with the download, with the status it concluded";
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(MainRules, AnUnattendedMagazineRunSelectsTheMagazine) {
    main->Load("-kt");
    QTest::qWait(50);
    EXPECT_EQ(calls, QStringList({"start source 2 downloading 1", "end 0"}));
    EXPECT_TRUE(main->Option2Checked);
    EXPECT_EQ(main->LogoSource, 2);
}

TEST_F(MainRules, ANonSwitchLineStartsNothing) {
    main->Load("-KP");
    EXPECT_FALSE(main->CString.isActive());
    QTest::qWait(200);
    EXPECT_TRUE(calls.isEmpty());
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].title, U("Командная строка"));
}

TEST_F(MainRules, TheArchiveOpensOnlyWhenThereIsOne) {
    main->Command3Click();
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text, U("Нет загруженных номеров."));
    EXPECT_EQ(messenger.shown()[0].title, U("Архив"));
    EXPECT_EQ(messenger.shown()[0].icon, MessageIcon::Information);
    EXPECT_TRUE(calls.isEmpty());
    QDir().mkpath(folder.file("Download"));
    main->Command3Click();
    main->Command2Click();
    main->Command4Click();
    EXPECT_EQ(calls, (QStringList{"archive", "settings", "about"}));
}

TEST_F(MainRules, TheUnloadClearsTheCacheOnlyWithClearCasheExit) {
    main->Unload();
    EXPECT_TRUE(calls.isEmpty());
    app.settings.ClearCasheExit = true;
    MainController second(app, messenger);
    second.hooks = main->hooks;
    second.Unload();
    second.Unload(); // once per run
    EXPECT_EQ(calls, QStringList{"clear cashe"});
}

TEST_F(MainRules, EndingAtOnceSkipsTheUnload) {
    app.settings.ClearCasheExit = true;
    main->Command1Click();
    calls.clear();
    main->EndProgramAtOnce(3);
    EXPECT_EQ(calls, QStringList{"end 3"});
    EXPECT_TRUE(main->EndingAtOnce());
    EXPECT_FALSE(main->Timer1.isActive());
    calls.clear();
    main->Unload();
    EXPECT_TRUE(calls.isEmpty());
}

} // namespace

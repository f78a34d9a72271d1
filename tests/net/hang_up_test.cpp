// The hang-up layer against a stand-in machine: which links count, which
// tools run in which order, and that a machine without links is left alone.
#include "net/hang_up.h"

#include <gtest/gtest.h>

namespace {

struct FakeMachine {
    QStringList links;
    QStringList installed; // program names found on the path
    QStringList failing;   // "program arguments" lines that exit non-zero
    QStringList commands;  // what was run, one line each

    HangUpPlatform platform() {
        HangUpPlatform p;
        p.listLinks = [this] { return links; };
        p.findProgram = [this](const QString& name) {
            return installed.contains(name) ? "/usr/bin/" + name : QString();
        };
        p.run = [this](const QString& program, const QStringList& args) {
            QString line = program.section('/', -1) + " " + args.join(' ');
            commands.append(line);
            return !failing.contains(line);
        };
        return p;
    }
};

TEST(HangUp, MachineWithoutLinksRunsNothingButCountsTheRequest) {
    FakeMachine machine;
    machine.installed = {"nmcli", "poff"};
    Hang_Up hangUp(machine.platform());
    hangUp.HangUpAll();
    hangUp.HangUpAll();
    EXPECT_EQ(hangUp.HangUpsRequested(), 2);
    EXPECT_TRUE(machine.commands.isEmpty());
}

TEST(HangUp, EveryLinkIsDisconnectedThroughNetworkManagerInOrder) {
    FakeMachine machine;
    machine.links = {"ppp0", "ppp1"};
    machine.installed = {"nmcli", "poff"};
    Hang_Up hangUp(machine.platform());
    hangUp.HangUpAll();
    EXPECT_EQ(machine.commands,
              QStringList({"nmcli device disconnect ppp0", "nmcli device disconnect ppp1"}));
    EXPECT_EQ(hangUp.LastLinks(), QStringList({"ppp0", "ppp1"}));
}

TEST(HangUp, PppdTakesOverWhereNetworkManagerFailsOrIsMissing) {
    FakeMachine machine;
    machine.links = {"ppp0", "ppp1"};
    machine.installed = {"nmcli", "poff"};
    machine.failing = {"nmcli device disconnect ppp1"};
    Hang_Up hangUp(machine.platform());
    hangUp.HangUpAll();
    EXPECT_EQ(machine.commands.last(), "poff -a");

    FakeMachine bare;
    bare.links = {"ppp0"};
    bare.installed = {"poff"};
    Hang_Up plain(bare.platform());
    plain.HangUpAll();
    EXPECT_EQ(bare.commands, QStringList({"poff -a"}));
}

TEST(HangUp, NoToolAtAllIsNoError) {
    FakeMachine machine;
    machine.links = {"ppp0"};
    Hang_Up hangUp(machine.platform());
    hangUp.HangUpAll();
    EXPECT_TRUE(machine.commands.isEmpty());
    EXPECT_EQ(hangUp.HangUpsRequested(), 1);
}

TEST(HangUp, OnlyPointToPointLinksThatAreUpCount) {
    QList<InterfaceInfo> interfaces = {
        {"lo", false, true},   {"eth0", false, true}, {"ppp0", true, true},
        {"ppp1", false, true}, {"ppp2", true, false}, {"wwan0", true, true},
    };
    EXPECT_EQ(PointToPointLinks(interfaces), QStringList({"ppp0", "ppp1", "wwan0"}));
}

TEST(HangUp, RealMachineListingIsSafeToCall) {
    // The loopback-only test machine has no dial-up link: nothing must run.
    HangUpPlatform real = SystemHangUpPlatform();
    EXPECT_NO_THROW(real.listLinks());
}

} // namespace

// The hang-up layer against a stand-in machine: which links count as dial-up,
// which tools run in which order, and that a machine without dial-up links
// (VPN tunnels, wireless, wired) is left alone.
#include "net/hang_up.h"

#include <gtest/gtest.h>

namespace {

struct FakeMachine {
    QList<InterfaceInfo> interfaces;
    QList<ActiveConnection> connections;
    QStringList installed; // program names found on the path
    QStringList failing;   // "program arguments" lines that exit non-zero
    QStringList commands;  // what was run, one line each

    HangUpPlatform platform() {
        HangUpPlatform p;
        p.listInterfaces = [this] { return interfaces; };
        p.listConnections = [this] { return connections; };
        p.findProgram = [this](const QString& name) {
            return installed.contains(name) ? "/usr/bin/" + name : QString();
        };
        p.run = [this](const QString& program, const QStringList& args) {
            QString line = program.section('/', -1) + " " + args.join(' ');
            commands.append(line);
            // A modem connection taken down takes its ppp device with it.
            if (line.startsWith("nmcli connection down"))
                interfaces.removeIf([](const InterfaceInfo& i) { return i.name == "ppp9"; });
            return !failing.contains(line);
        };
        return p;
    }
};

InterfaceInfo Ppp(const QString& name) {
    return {name, true, true, true};
}
InterfaceInfo Tunnel(const QString& name) {
    return {name, false, true, true};
}
InterfaceInfo Plain(const QString& name) {
    return {name, false, false, true};
}

// A laptop on a VPN over wireless, with a modem link up as well.
FakeMachine BusyLaptop() {
    FakeMachine m;
    m.interfaces = {Plain("lo"), Plain("wlan0"), Tunnel("wg0"), Tunnel("tun0"), Ppp("ppp0")};
    m.connections = {{"u-wifi", "802-11-wireless", "wlan0"},
                     {"u-wg", "wireguard", "wg0"},
                     {"u-tun", "tun", "tun0"},
                     {"u-vpn", "vpn", "wlan0"}};
    m.installed = {"nmcli", "poff"};
    return m;
}

TEST(HangUp, OnlyThePppLinkIsHungUpBesideTunnelsAndWireless) {
    FakeMachine machine = BusyLaptop();
    Hang_Up hangUp(machine.platform());
    hangUp.HangUpAll();
    EXPECT_EQ(machine.commands, QStringList({"nmcli device disconnect ppp0"}));
    EXPECT_EQ(hangUp.LastLinks(), QStringList({"ppp0"}));
}

TEST(HangUp, MachineWithoutDialUpRunsNothingButCountsTheRequest) {
    FakeMachine machine = BusyLaptop();
    machine.interfaces.removeLast();
    Hang_Up hangUp(machine.platform());
    hangUp.HangUpAll();
    hangUp.HangUpAll();
    EXPECT_EQ(hangUp.HangUpsRequested(), 2);
    EXPECT_TRUE(machine.commands.isEmpty());
}

TEST(HangUp, ModemConnectionsGoDownByNetworkManagerAndTakeTheirDevice) {
    FakeMachine machine = BusyLaptop();
    machine.interfaces.append(Ppp("ppp9"));
    machine.connections.append({"u-gsm", "gsm", "cdc-wdm0"});
    machine.connections.append({"u-dsl", "pppoe", "eth1"});
    Hang_Up hangUp(machine.platform());
    hangUp.HangUpAll();
    EXPECT_EQ(machine.commands,
              QStringList({"nmcli connection down uuid u-gsm", "nmcli connection down uuid u-dsl",
                           "nmcli device disconnect ppp0"}));
    EXPECT_EQ(hangUp.LastLinks(), QStringList({"cdc-wdm0", "eth1", "ppp0"}));
}

TEST(HangUp, PppdTakesOverWhereNetworkManagerFailsOrIsMissing) {
    FakeMachine machine;
    machine.interfaces = {Ppp("ppp0"), Ppp("ppp1")};
    machine.installed = {"nmcli", "poff"};
    machine.failing = {"nmcli device disconnect ppp1"};
    Hang_Up hangUp(machine.platform());
    hangUp.HangUpAll();
    EXPECT_EQ(machine.commands, QStringList({"nmcli device disconnect ppp0",
                                             "nmcli device disconnect ppp1", "poff -a"}));

    FakeMachine bare;
    bare.interfaces = {Ppp("ppp0")};
    bare.installed = {"poff"};
    Hang_Up plain(bare.platform());
    plain.HangUpAll();
    EXPECT_EQ(bare.commands, QStringList({"poff -a"}));
}

TEST(HangUp, NoToolAtAllIsNoError) {
    FakeMachine machine;
    machine.interfaces = {Ppp("ppp0")};
    Hang_Up hangUp(machine.platform());
    hangUp.HangUpAll();
    EXPECT_TRUE(machine.commands.isEmpty());
    EXPECT_EQ(hangUp.HangUpsRequested(), 1);
}

TEST(HangUp, OnlyPppDevicesThatAreUpCount) {
    const QList<InterfaceInfo> interfaces = {
        Plain("eth0"),
        Ppp("ppp0"),
        {"ppp1", false, false, true}, // named so, type unknown
        {"ppp2", true, true, false},  // down
        Tunnel("wg0"),
        Tunnel("tun0"),
        Tunnel("wwan0"),
        {"pppoe-vpn", false, true, true},
    };
    EXPECT_EQ(DialUpInterfaces(interfaces), QStringList({"ppp0", "ppp1"}));
}

TEST(HangUp, NetworkManagerListIsReadWithItsEscapes) {
    const QByteArray out = "0a1b:802-11-wireless:wlan0\n"
                           "2c3d:gsm:cdc-wdm0\n"
                           "4e5f:wireguard:wg0\n"
                           "6a7b:pppoe:dsl\\:home\n"
                           "\n"
                           "broken line\n";
    const QList<ActiveConnection> all = ParseActiveConnections(out);
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(all[3].device, "dsl:home");
    const QList<ActiveConnection> dialUp = DialUpConnections(all);
    ASSERT_EQ(dialUp.size(), 2);
    EXPECT_EQ(dialUp[0].uuid, "2c3d");
    EXPECT_EQ(dialUp[1].type, "pppoe");
}

TEST(HangUp, RealMachineListingIsSafeToCall) {
    // The test machine has no dial-up link: listing must find none.
    HangUpPlatform real = SystemHangUpPlatform();
    EXPECT_TRUE(DialUpInterfaces(real.listInterfaces()).isEmpty());
    EXPECT_TRUE(DialUpConnections(real.listConnections()).isEmpty());
}

} // namespace

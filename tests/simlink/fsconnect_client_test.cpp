// The position client against a stand-in of the simulator add-on.
#include <gtest/gtest.h>

#include "fake_simulator.h"
#include "platform/headless/headless_host.h"
#include "simlink/fsconnect_client.h"
#include "support/program_state.h"

namespace {

class FSConnectTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::ResetProgramState();
        host().Reset();
    }
    void TearDown() override { testenv::ResetProgramState(); }
    static plat::HeadlessHost& host() { return plat::DefaultHeadlessHost(); }
};

TEST_F(FSConnectTest, NoServerLeavesDegreesAndGivesStatusOne) {
    double lat = 12.5, lon = -3.25;
    EXPECT_EQ(fscGetLatitude(lat), 1);
    EXPECT_EQ(fscGetLongitude(lon), 1);
    EXPECT_EQ(lat, 12.5);
    EXPECT_EQ(lon, -3.25);
    std::string name = "keep", rest;
    int32_t a = 5, b = 6;
    EXPECT_EQ(FSConnect_Get_Info(name, rest, a, b), 1);
    EXPECT_EQ(name, "keep");
    EXPECT_EQ(a, 5);
    EXPECT_TRUE(host().boxes.empty());
}

TEST_F(FSConnectTest, PositionsConvertToDegreesAndEachAtomIsDeleted) {
    testsim::FakeSimulator sim;
    sim.raw_lat = 10001750;
    sim.raw_lon = 70368744177664.0;
    double lat = 0, lon = 0;
    EXPECT_EQ(fscGetLatitude(lat), 0);
    EXPECT_EQ(fscGetLongitude(lon), 0);
    EXPECT_DOUBLE_EQ(lat, 90);
    EXPECT_DOUBLE_EQ(lon, 90);
    sim.raw_lat = -10001750;
    EXPECT_EQ(fscGetLatitude(lat), 0);
    EXPECT_DOUBLE_EQ(lat, -90);
    EXPECT_GE(sim.atoms.size(), 3u);
    for (const uint16_t atom : sim.atoms) EXPECT_EQ(plat::GlobalGetAtomName(atom), "") << atom;
    EXPECT_NE(FSConnect_Link.Window, 0);
}

TEST_F(FSConnectTest, ZeroAndPositiveAnswersAreStatuses) {
    testsim::FakeSimulator sim;
    double lat = 7.5;
    sim.data_answer = 0;
    EXPECT_EQ(fscGetLatitude(lat), 1);
    sim.data_answer = 7;
    EXPECT_EQ(fscGetLatitude(lat), 7);
    EXPECT_EQ(lat, 7.5);
    sim.info_answer = 7;
    std::string name, rest;
    int32_t a = 0, b = 0;
    EXPECT_EQ(FSConnect_Get_Info(name, rest, a, b), 7);
}

TEST_F(FSConnectTest, ShortAnswerLeavesTheLastDoubleBytesZeroAndTypesIgnoreCase) {
    testsim::FakeSimulator sim;
    // 20 digits fill bytes 1..10 (plus an odd trailing digit that is ignored).
    const double full = 1234.5678;
    std::string text = testsim::Data_Text(3, full).substr(0, 20) + "F";
    sim.data_override = text;
    double upper = 0, lower = 0;
    std::string t;
    int32_t lead = 0;
    EXPECT_EQ(FSConnect_Request(71, "N", upper, t, lead), 0);
    EXPECT_EQ(FSConnect_Request(71, "n", lower, t, lead), 0);
    EXPECT_EQ(lead, 3);
    EXPECT_EQ(upper, lower);
    uint8_t bytes[8];
    std::memcpy(bytes, &full, 8);
    bytes[6] = bytes[7] = 0;
    double expected = 0;
    std::memcpy(&expected, bytes, 8);
    EXPECT_EQ(lower, expected);
    EXPECT_EQ(t, text.substr(8));

    sim.data_override = testsim::Hex_Of(&lead, 4) + "FEFFFFFF";
    double v = 0;
    EXPECT_EQ(FSConnect_Request(71, "e", v, t, lead), 0);
    EXPECT_EQ(v, -2);
    double untouched = 9;
    EXPECT_EQ(FSConnect_Request(71, "z", untouched, t, lead), 0);
    EXPECT_EQ(untouched, 9);
}

TEST_F(FSConnectTest, InfoTextSplitsIntoNameNumbersAndRest) {
    testsim::FakeSimulator sim;
    std::string name, rest;
    int32_t a = 0, b = 0;
    EXPECT_EQ(FSConnect_Get_Info(name, rest, a, b), 0);
    EXPECT_EQ(name, "FSC01");
    EXPECT_EQ(a, 10);
    EXPECT_EQ(b, -1);
    EXPECT_EQ(rest, "xyz");
    // A garbled or short answer counts as no server and changes nothing.
    sim.info_text = "FSC01ZZ";
    name = "keep";
    EXPECT_EQ(FSConnect_Get_Info(name, rest, a, b), 1);
    EXPECT_EQ(name, "keep");
    sim.info_answer = 70000;
    EXPECT_EQ(FSConnect_Get_Info(name, rest, a, b), 1);
}

TEST_F(FSConnectTest, BadAnswersAreReportedByTheRoutineAndLeaveDegrees) {
    testsim::FakeSimulator sim;
    sim.data_override = "00000000GG";
    double lat = 4.5, lon = 6.5;
    host().QueueAnswer(plat::ID_OK);
    fscGetLatitude(lat);
    ASSERT_EQ(host().boxes.size(), 1u);
    EXPECT_EQ(host().boxes[0].prompt.rfind("Error in routine fscGetLatitude!\r\r", 0), 0u);
    EXPECT_EQ(host().boxes[0].style, plat::MB_OK | plat::MB_ICONSTOP);
    EXPECT_EQ(lat, 4.5);
    sim.data_override.clear();
    sim.data_answer = 40000;
    host().QueueAnswer(plat::ID_OK);
    fscGetLongitude(lon);
    ASSERT_EQ(host().boxes.size(), 2u);
    EXPECT_EQ(host().boxes[1].prompt.rfind("Error in routine fscGetLongitude!\r\r", 0), 0u);
    EXPECT_EQ(lon, 6.5);
}

}  // namespace

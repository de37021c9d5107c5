#include <gtest/gtest.h>

#include "platform/atoms.h"
#include "platform/registry.h"
#include "support/program_state.h"

using namespace plat;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { testenv::ResetProgramState(); }
    void TearDown() override { testenv::ResetProgramState(); }
};

TEST_F(RegistryTest, EmptyUntilATestFillsIt) {
    EXPECT_FALSE(RegistryRead(HKEY_LOCAL_MACHINE, "SOFTWARE\\Sim", "EXE Path").has_value());
    RegistrySetForTest(HKEY_LOCAL_MACHINE, "SOFTWARE\\Sim", "EXE Path", "C:\\Sim");
    EXPECT_EQ(RegistryRead(HKEY_LOCAL_MACHINE, "software\\sim", "exe path").value_or(""), "C:\\Sim");
    EXPECT_FALSE(RegistryRead(HKEY_CURRENT_USER, "SOFTWARE\\Sim", "EXE Path").has_value());
}

class AtomsTest : public RegistryTest {};

TEST_F(AtomsTest, RegisteredMessagesAreStableByName) {
    const uint32_t a = RegisterWindowMessage("FsasmLib:Request");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage("fsasmlib:request"), a);
    EXPECT_NE(RegisterWindowMessage("Other"), a);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(AtomsTest, APeerWindowIsFoundAndAnswers) {
    EXPECT_EQ(FindWindow("SimMain", ""), 0);
    int64_t seen = 0;
    const WindowHandle w = RegisterPeerWindow("SimMain", "Simulator", [&](uint32_t msg, int64_t wp, int64_t lp) {
        seen = wp + lp;
        return static_cast<int64_t>(msg) + 1;
    });
    EXPECT_EQ(FindWindow("simmain", ""), w);
    EXPECT_EQ(FindWindow("", "Simulator"), w);
    EXPECT_EQ(FindWindow("SimMain", "Other"), 0);
    EXPECT_EQ(SendMessage(w, 10, 2, 3), 11);
    EXPECT_EQ(seen, 5);
    UnregisterPeerWindow(w);
    EXPECT_EQ(FindWindow("SimMain", ""), 0);
    EXPECT_EQ(SendMessage(w, 10, 2, 3), 0);
}

TEST_F(AtomsTest, GlobalAtomsCountReferences) {
    const uint16_t a = GlobalAddAtom("Tessaline.Request");
    EXPECT_NE(a, 0);
    EXPECT_EQ(GlobalAddAtom("TESSALINE.REQUEST"), a);
    EXPECT_EQ(GlobalGetAtomName(a), "Tessaline.Request");
    GlobalDeleteAtom(a);
    EXPECT_EQ(GlobalGetAtomName(a), "Tessaline.Request");
    GlobalDeleteAtom(a);
    EXPECT_EQ(GlobalGetAtomName(a), "");
}

#include "platform/headless/headless_host.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(HeadlessHost, AnswersMessageBoxesInOrderAndLogsThem) {
    HeadlessHost host;
    host.QueueAnswer(ID_YES);
    host.QueueAnswer(ID_CANCEL);
    EXPECT_EQ(host.MsgBox("Save?", MB_YESNOCANCEL + MB_ICONQUESTION, "Tessaline"), ID_YES);
    EXPECT_EQ(host.MsgBox("Again?", MB_YESNOCANCEL, "Tessaline"), ID_CANCEL);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].prompt, "Save?");
    EXPECT_EQ(host.boxes[0].style, 35);
}

TEST(HeadlessHost, UnexpectedBoxFailsLoudlyWhenStrict) {
    HeadlessHost host;
    EXPECT_THROW(host.MsgBox("Boom", MB_OK, "Erreur !!"), UnexpectedDialog);
    host.strict = false;
    EXPECT_EQ(host.MsgBox("Save?", MB_YESNO, "Q"), ID_NO);
}

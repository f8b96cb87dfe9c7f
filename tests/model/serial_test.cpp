// Serial numbers: the trailing digits count by mode and step, keep their width and wrap.
#include "model/Serial.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "model/ElementFactory.h"
#include "model/Label.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

struct Row {
    const char* before;
    int mode;
    int step;
    const char* after;
    bool repaint;
};

const Row kRows[] = {
    // One by one: the classic counter.
    {"0009", kSerialIncrement, 1, "0010", true},
    {"19", kSerialIncrement, 1, "20", true},
    {"99", kSerialIncrement, 1, "00", true},
    {"AB99", kSerialIncrement, 1, "AB00", true},
    {"X-9Z", kSerialIncrement, 1, "X-9Z", false},
    {"7", kSerialIncrement, 1, "8", true},
    {"0010", kSerialDecrement, 1, "0009", true},
    {"100", kSerialDecrement, 1, "099", true},
    {"000", kSerialDecrement, 1, "999", true},
    {"A0", kSerialDecrement, 1, "A9", true},
    {"5", kSerialDecrement, 1, "4", true},
    {"9A9", kSerialIncrement, 1, "9A0", true},  // the carry stops at the first non-digit
    {"", kSerialIncrement, 1, "", false},
    {"123", kSerialNone, 1, "123", false},
    {"123", 7, 1, "123", true},  // an unknown mode changes nothing, yet the element is serialized
    // Steps 0 and below count as 1.
    {"0009", kSerialIncrement, 0, "0010", true},
    {"0009", kSerialIncrement, -5, "0010", true},
    // Larger steps keep the width and wrap.
    {"0009", kSerialIncrement, 5, "0014", true},
    {"A095", kSerialIncrement, 10, "A105", true},
    {"98", kSerialIncrement, 5, "03", true},
    {"001", kSerialIncrement, 1000, "001", true},
    {"001", kSerialIncrement, 2147483647, "648", true},
    {"0014", kSerialDecrement, 5, "0009", true},
    {"03", kSerialDecrement, 5, "98", true},
    {"B5", kSerialDecrement, 25, "B0", true},
};

TEST(Serial, SteppingTable) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(std::string(row.before) + " mode " + std::to_string(row.mode) + " step " +
                     std::to_string(row.step));
        Element e = MakeTextElement(0, 0, row.before);
        e.nSerialMode = row.mode;
        e.nSerialStep = row.step;
        e.nSerialResetAt = 3;  // stored only
        e.nSerialResetTo = 1;
        EXPECT_EQ(AdvanceSerial(e), row.repaint);
        EXPECT_EQ(ContentUtf8(e), row.after);
        EXPECT_EQ(e.nSerialResetAt, 3);
    }
}

TEST(Serial, AWholeFieldStaysInsideAndTheLabelKnowsItCounts) {
    Element e = ZeroElement();
    std::memset(e.str, '9', sizeof e.str);  // no NUL at all
    e.bSelected = 0;
    e.nSerialMode = kSerialIncrement;
    EXPECT_TRUE(AdvanceSerial(e));
    EXPECT_EQ(std::string(e.str, 256), std::string(256, '0'));
    EXPECT_EQ(e.bSelected, 0);

    testing::TempDir dir;
    Label label{SnapshotStore(dir.Path())};
    label.Append(MakeTextElement(0, 0, "1"));
    EXPECT_FALSE(HasSerializedElement(label));
    label.Append(e);
    EXPECT_TRUE(HasSerializedElement(label));
}

}  // namespace
}  // namespace etiqo

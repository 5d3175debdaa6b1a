#include "protocol/unit_reads.h"

#include <gtest/gtest.h>

#include "protocol/unit_writes.h"
#include "scripted_unit.h"

namespace qelto::protocol {
namespace {

using test::ScriptedUnit;

// --- Unlock ---------------------------------------------------------------------------------

// A cancelled PIN prompt sends nothing and forgets the PIN, so the next unlock asks again; an
// entered PIN is sent, remembered and not asked for again. (The identity an unlock fills and a
// refusal are read from the simulated unit in tests/integration.)
TEST(Unlock, ThePinIsAskedOnceSentAndRemembered) {
    ScriptedUnit u;
    CommsData data;
    int asked = 0;
    std::optional<std::uint16_t> typed;
    const PinPrompt prompt = [&] {
        ++asked;
        return typed;
    };
    EXPECT_FALSE(Unlock(data, u.channel, prompt));
    EXPECT_FALSE(Unlock(data, u.channel, prompt));
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(u.sent().empty());
    EXPECT_EQ(data.connection.rememberedPin, -1);
    EXPECT_FALSE(data.connection.pinAccepted);

    typed = 4321;
    u.replyAck(2);
    ASSERT_TRUE(Unlock(data, u.channel, prompt));
    ASSERT_TRUE(Unlock(data, u.channel, prompt));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(u.sent(), std::vector<Packet>(2, makeUnlock(4321)));
    EXPECT_EQ(data.connection.rememberedPin, 4321);
    EXPECT_TRUE(data.connection.pinAccepted);
    EXPECT_EQ(data.identity.pin, 4321);
}

// A refused comments read (a unit without comments), a cancel, and a unit that stops answering
// part way are driven against the simulated unit (tests/comms, tests/cli).

}  // namespace
}  // namespace qelto::protocol

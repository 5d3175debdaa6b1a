#include <gtest/gtest.h>
#include <termios.h>

#include "platform/serial_port.h"
#include "pty_pair.h"

namespace qelto::platform {
namespace {

struct Rate {
    unsigned baud;
    speed_t speed;
};

class SerialLineSettings : public ::testing::TestWithParam<Rate> {};

TEST_P(SerialLineSettings, ArePlainRawEightNoneOneWithCtsOnlyAt9600) {
    test::PtyPair pty;
    std::string error;
    auto port = SerialPort::open(pty.path(), GetParam().baud, &error);
    ASSERT_NE(port, nullptr) << error;
    EXPECT_EQ(port->baud(), GetParam().baud);

    termios t{};
    ASSERT_EQ(::tcgetattr(pty.slave(), &t), 0);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ((t.c_cflag & CRTSCTS) != 0, GetParam().baud == 9600);
    EXPECT_NE(t.c_cflag & CREAD, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    EXPECT_EQ(::cfgetospeed(&t), GetParam().speed);
    EXPECT_EQ(::cfgetispeed(&t), GetParam().speed);
}

INSTANTIATE_TEST_SUITE_P(StandardRates, SerialLineSettings,
                         ::testing::Values(Rate{9600, B9600}, Rate{19200, B19200},
                                           Rate{38400, B38400}, Rate{57600, B57600},
                                           Rate{115200, B115200}),
                         [](const auto& rate) { return std::to_string(rate.param.baud); });

}  // namespace
}  // namespace qelto::platform

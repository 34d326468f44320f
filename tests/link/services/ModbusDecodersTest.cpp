// The register services' Modbus decoders against scripted replies: only the reply that answers the
// request gives a value.
#include "link/services/RegisterServices.h"
#include "tests/link/LinkFixture.h"
#include "tests/support/ModbusReplies.h"

namespace {

struct ExposedServices : CRegisterServices {
    using CRegisterServices::ModbusReadRegister;
    using CRegisterServices::ModbusWriteRegister;
};

struct ServicesModbus : ModbusLinkFixture {
    ExposedServices services;
};

TEST_P(ServicesModbus, ReadsTakeTheWordOfTheGoodReplyOnly) {
    // Cn025 is at Modbus address 0x0019; its raw word is its value.
    for (const auto& c : modbus_replies::ReadOfOneRegister(GetParam(), 0x0123)) {
        SCOPED_TRACE(c.what);
        peer.ServeFixed(c.reply);
        int word = -1;
        EXPECT_EQ(services.ModbusReadRegister(0x0019, GetParam(), word), c.result == ModbusGood);
        EXPECT_EQ(word, c.result == ModbusGood ? 0x0123 : -1);
        EXPECT_EQ(services.ReadParameterModbus('C', 25, GetParam()),
                  c.result == ModbusGood ? std::optional<int>(0x0123) : std::nullopt);
    }
}

TEST_P(ServicesModbus, WritesCountOnlyWhenEchoed) {
    for (const auto& c : modbus_replies::WriteOfOneRegister(GetParam(), 0x0503, 0x0123)) {
        SCOPED_TRACE(c.what);
        peer.ServeFixed(c.reply);
        EXPECT_EQ(services.ModbusWriteRegister(0x0503, 0x0123), c.result == ModbusGood);
    }
}

INSTANTIATE_TEST_SUITE_P(Framing, ServicesModbus, ::testing::Values(0, 1), ModbusLinkFixture::FramingName);

} // namespace

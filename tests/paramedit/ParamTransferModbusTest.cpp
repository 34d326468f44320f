// The editor's parameter transfer over Modbus against scripted replies: only the reply that answers
// the request gives a value or counts as written, and only an exception is a refusal.
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "paramedit/ParamTransfer.h"
#include "tests/link/LinkFixture.h"
#include "tests/support/ModbusReplies.h"

namespace {

struct TransferModbus : ModbusLinkFixture {
    CRegisterServices services;
    CTransferPass pass{services, {}};
    ParamTransfer transfer{services, pass};
};

// Cn025 is at Modbus address 0x0019; its raw word is its value.
TEST_P(TransferModbus, ReadTakesTheWordOfTheGoodReplyOnly) {
    for (const auto& c : modbus_replies::ReadOfOneRegister(GetParam(), 0x0123)) {
        SCOPED_TRACE(c.what);
        peer.ServeFixed(c.reply);
        const std::optional<int> value = transfer.Read("Cn025", false);
        EXPECT_EQ(value, c.result == ModbusGood ? std::optional<int>(0x0123) : std::nullopt);
        if (!value) {
            EXPECT_EQ(transfer.LastFailureWasRefusal(), c.result == ModbusException);
        }
    }
}

TEST_P(TransferModbus, WriteCountsOnlyWhenEchoed) {
    for (const auto& c : modbus_replies::WriteOfOneRegister(GetParam(), 0x0019, 0x0123)) {
        SCOPED_TRACE(c.what);
        peer.ServeFixed(c.reply);
        const ParamTransfer::WriteResult result = transfer.Write("Cn025", 0x0123);
        EXPECT_EQ(result.status == ParamTransfer::WriteStatus::Written, c.result == ModbusGood);
    }
}

INSTANTIATE_TEST_SUITE_P(Framing, TransferModbus, ::testing::Values(0, 1), ModbusLinkFixture::FramingName);

} // namespace

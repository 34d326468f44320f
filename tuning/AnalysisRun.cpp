#include "tuning/AnalysisRun.h"

#include "link/LinkState.h"

#include <algorithm>

std::chrono::milliseconds CompletionPollPause(std::chrono::steady_clock::duration elapsed) {
    using std::chrono::milliseconds;
    const auto remaining = std::chrono::duration_cast<milliseconds>(ExpectedMeasurementTime - elapsed);
    const milliseconds quarter = (remaining < milliseconds::zero() ? -remaining : remaining) / 4;
    return std::clamp(quarter, milliseconds(1), CompletionPollPauseCap);
}

bool IsAlarmActive(CRegisterServices& services) {
    if (!services.Document || !ConnectedFlag)
        return false;
    const std::optional<int> alarm = services.ReadDriveRegister(0x1712);
    return alarm && *alarm != 0;
}

std::optional<int> StartAnalysisExcitation(CRegisterServices& services, int loadTorque) {
    if (!services.WriteDriveRegister(0x1603, ExcitationSetting) || !services.WriteDriveRegister(0x1606, 0) ||
        !services.WriteDriveRegister(0x1605, 0) || !services.WriteDriveRegister(0x1601, loadTorque))
        return std::nullopt;
    const std::optional<int> jogSpeed = services.ReadDriveRegister(0x0201);
    if (!jogSpeed)
        return std::nullopt;
    if (!services.WriteDriveRegister(0x0201, 0) || !services.WriteDriveRegister(0x1803, 1) ||
        !services.WriteDriveRegister(0x170E, 1) || !services.WriteDriveRegister(0x1602, 1))
        return std::nullopt;
    return jogSpeed;
}

bool RestoreAfterCompletion(CRegisterServices& services, int savedJogSpeed) {
    return services.WriteDriveRegister(0x170E, 0) && services.WriteDriveRegister(0x1803, 0) &&
           services.WriteDriveRegister(0x0201, savedJogSpeed);
}

bool StopAnalysisExcitation(CRegisterServices& services, int savedJogSpeed) {
    return RestoreAfterCompletion(services, savedJogSpeed) && services.WriteDriveRegister(0x1602, 0);
}

AnalysisReadResult ReadAnalysisBlocks(CRegisterServices& services, AnalysisWords& words,
                                      const std::function<void(const std::string& line)>& progress) {
    AnalysisReadResult result;
    if (!ConnectedFlag)
        return result;
    char reply[AnalysisReplyLength + 1] = {};
    for (int block = 0; block < AnalysisBlockCount; ++block) {
        const std::string request = AnalysisBlockRequest(block);
        if (services.ReadRecordBlock(request.data(), AnalysisRequestLength, reply, AnalysisReplyLength) == 0)
            return result;
        const int bad = DecodeAnalysisBlock(reply, block, words, [&](int wordsRead, int firstWord) {
            result.lastProgress = AnalysisProgressLine(wordsRead, firstWord);
            if (progress)
                progress(result.lastProgress);
        });
        if (bad >= 0) {
            result.badRecord = true;
            return result;
        }
    }
    result.ok = true;
    return result;
}

float AnalysisSampleTime(std::optional<int> sampleFrequency) {
    if (!sampleFrequency || *sampleFrequency == 0)
        return 0.0001f;
    return static_cast<float>(1.0 / *sampleFrequency);
}

std::optional<TorqueScales> ReadTorqueScales(CRegisterServices& services) {
    const std::optional<int> torque = services.ReadDriveParameter("onU03");
    if (!torque)
        return std::nullopt;
    const std::optional<int> speed = services.ReadDriveParameter("onU07");
    if (!speed)
        return std::nullopt;
    return TorqueScales{*torque / 1000.0, *speed / 1000.0};
}

#include "sim/SimFactoryDefaults.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/RegisterMap.h"
#include "sim/SimRegisterMap.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>

namespace sim {

namespace {

// The program's document rules read the drive words from its globals. They are set to the
// simulated drive's identity while the defaults are figured, and put back after, so a program in
// the same process (tests) sees no change.
class IdentityGlobals {
public:
    explicit IdentityGlobals(int series) : saved_(Save()) {
        const DriveIdentity identity = IdentityForSeries(series);
        SeriesCode = series;
        ModelCode = identity.motorCode;
        RatedSpeed = identity.ratedSpeed;
        MotorEncoderResolution = static_cast<int>(identity.encoderResolution);
        ForwardTorqueLimit = identity.maxTorque;
        ReverseTorqueLimit = -identity.maxTorque;
        DriveCapacityIndex = StartDriveCapacityIndex;
        DriveControlMode = identity.controlMode;
        FeatureStatusWord = 0;
        ForeignSeriesLoadedFlag = false;
    }
    ~IdentityGlobals() {
        std::tie(SeriesCode, ModelCode, RatedSpeed, MotorEncoderResolution, ForwardTorqueLimit,
                 ReverseTorqueLimit, DriveCapacityIndex, DriveControlMode, FeatureStatusWord,
                 ForeignSeriesLoadedFlag) = saved_;
    }
    IdentityGlobals(const IdentityGlobals&) = delete;
    IdentityGlobals& operator=(const IdentityGlobals&) = delete;

private:
    using Saved = std::tuple<int, int, int, int, int, int, int, int, int, bool>;
    static Saved Save() {
        return {SeriesCode,         ModelCode,
                RatedSpeed,         MotorEncoderResolution,
                ForwardTorqueLimit, ReverseTorqueLimit,
                DriveCapacityIndex, DriveControlMode,
                FeatureStatusWord,  ForeignSeriesLoadedFlag};
    }
    Saved saved_;
};

// The program connected to the simulated drive: its words as the connect reads them.
class ConnectedHost : public DocumentHost {
public:
    explicit ConnectedHost(int series) : presets_(DefaultRegisters(series)) {}
    bool IsConnected() const override { return true; }
    bool ReadRegister(int address, int& value) override {
        for (const RegisterPreset& preset : presets_)
            if (preset.address == address) {
                value = static_cast<int16_t>(preset.value);
                return true;
            }
        return false;
    }
    void FillContext(CatalogueContext& context) const override {
        context.connected = true;
        int word = 0;
        context.driveIdWord = const_cast<ConnectedHost*>(this)->ReadRegister(0x171E, word) ? word : 0;
    }

private:
    std::vector<RegisterPreset> presets_;
};

// A value within [lo, hi]: numerically, or digit by digit for the hexadecimal parameters, whose
// digits are separate settings each with its own range.
int WithinRange(int value, int lo, int hi, bool hexDigits) {
    if (!hexDigits)
        return std::clamp(value, lo, hi);
    const auto u = static_cast<uint32_t>(value);
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 4) {
        const uint32_t low = (static_cast<uint32_t>(lo) >> shift) & 0xF;
        const uint32_t high = (static_cast<uint32_t>(hi) >> shift) & 0xF;
        result |= std::clamp((u >> shift) & 0xF, low, std::max(low, high)) << shift;
    }
    return static_cast<int>(result);
}

std::vector<FactoryWord> Figure(int series) {
    IdentityGlobals globals(series);
    ConnectedHost host(series);
    CKeloServoDoc doc(&host);
    for (const RegisterPreset& preset : DefaultRegisters(series)) {
        if (preset.address == 0x0F04)
            doc.m_DriveSoftwareVersion = preset.value;
        if (preset.address == 0x113B)
            doc.m_ExtendedVersion = preset.value;
    }
    doc.OnNewDocument();
    const CatalogueContext context = doc.Context();
    std::vector<FactoryWord> words;
    for (int g = 0; g < DocGroupCount; ++g) {
        const auto group = static_cast<DocGroup>(g);
        for (int n = 1; n <= DocGroupSize(group); ++n) {
            const std::string code = DocParamCode(group, n);
            if (!ParamInSeries(code, context))
                continue;
            const std::optional<uint16_t> address = ParamCodeRegisterAddress(code);
            if (!address)
                continue;
            // A drive never leaves the factory with a value its own range refuses, even where the
            // catalogue's default lies outside it.
            const bool hexDigits =
                (ParamFlags(code, context) & AttrFormatHexBit) != 0 && code.substr(0, 2) != "MA";
            const auto value = static_cast<uint32_t>(
                WithinRange(doc.Default(group, n), doc.Minimum(group, n), doc.Maximum(group, n), hexDigits));
            words.push_back({*address, static_cast<uint16_t>(value & 0xFFFF)});
            if (IsDoubleWordParameter(ParamGroupLetter(code), ParamNumber(code), ParamIndexFromCode(code)))
                words.push_back({static_cast<uint16_t>(*address + 1), static_cast<uint16_t>(value >> 16)});
        }
    }
    return words;
}

} // namespace

const std::vector<FactoryWord>& FactoryParameters(int series) {
    static std::mutex mutex;
    static std::map<int, std::vector<FactoryWord>> figured;
    std::lock_guard lock(mutex);
    auto it = figured.find(series);
    if (it == figured.end())
        it = figured.emplace(series, series >= 3 && series <= 9 ? Figure(series) : std::vector<FactoryWord>())
                 .first;
    return it->second;
}

} // namespace sim

#include "catalogue/DocArchive.h"

#include "link/handoff/HandoffFile.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "framework/core/Archive.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/Paths.h"
#include "framework/core/StdioFile.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>

namespace {

constexpr int Row28Words = 10;

// Leading decimal digits of a text, clamped so a long run cannot overflow.
int LeadingNumber(const std::string& text) {
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

// Reads the document archive. Older files end early, so at each optional block the loader asks
// whether the file holds more data; a file that ends inside a value is refused.
class DocumentReader {
public:
    explicit DocumentReader(CArchive& ar) : ar_(ar) {}

    bool DataRemains() const { return ar_.Remaining() > 0; }

    int Int() {
        int value = 0;
        ar_ >> value;
        return value;
    }

    // A block: a count, then that many values. The block keeps at most `size` of them; a surplus is
    // read and dropped. Returns the count the file gave.
    int Block(int* dest, int size) {
        const int count = Int();
        if (count < 0)
            Fail(CArchiveException::badLength, "negative count");
        if (static_cast<std::uint64_t>(count) * 4 > ar_.Remaining())
            Fail(CArchiveException::endOfFile, "the file ends early");
        for (int i = 0; i < count; ++i) {
            const int value = Int();
            if (i < size)
                dest[i] = value;
        }
        return count;
    }

    // A text in the counted form (narrow or wide).
    std::string Text() { return ar_.ReadString(); }

    // The count of the name list: at most DocNameListMax, and no more than the file can hold (each
    // name takes at least its length byte).
    int NameCount() {
        const int count = Int();
        if (count < 0 || count > DocNameListMax)
            Fail(CArchiveException::badLength,
                 "name count " + std::to_string(count) + " is outside 0.." + std::to_string(DocNameListMax));
        if (static_cast<std::uint64_t>(count) > ar_.Remaining())
            Fail(CArchiveException::endOfFile, "the file ends early");
        return count;
    }

private:
    [[noreturn]] void Fail(CArchiveException::Cause cause, const std::string& what) const {
        throw CArchiveException(cause, "Document archive \"" + ar_.GetFile()->GetFilePath() + "\": " + what);
    }

    CArchive& ar_;
};

// The program-wide words a load may change, kept to undo a failed load.
struct MotorWords {
    int series = SeriesCode, model = ModelCode, rated = RatedSpeed, encoder = MotorEncoderResolution;
    int forward = ForwardTorqueLimit, reverse = ReverseTorqueLimit, capacity = DriveCapacityIndex;
    int mode = DriveControlMode, feature = FeatureStatusWord;
    bool foreign = ForeignSeriesLoadedFlag;

    void Restore() const {
        SeriesCode = series, ModelCode = model, RatedSpeed = rated, MotorEncoderResolution = encoder;
        ForwardTorqueLimit = forward, ReverseTorqueLimit = reverse, DriveCapacityIndex = capacity;
        DriveControlMode = mode, FeatureStatusWord = feature, ForeignSeriesLoadedFlag = foreign;
    }
};

// The ten words of the last row: feature word, the motor words, the control mode and two words the
// format reserves (10, 10).
void CurrentMotorWords(int (&words)[Row28Words]) {
    const int now[Row28Words] = {FeatureStatusWord,
                                 MotorEncoderResolution,
                                 ForwardTorqueLimit,
                                 ReverseTorqueLimit,
                                 ModelCode,
                                 DriveCapacityIndex,
                                 RatedSpeed,
                                 DriveControlMode,
                                 10,
                                 10};
    std::copy(std::begin(now), std::end(now), words);
}

// Value groups in file order from row 7 to row 21.
constexpr DocGroup fileGroupsMain[] = {DocCn, DocTn, DocSn, DocPn3, Docqn, DocHn, DocPn4};
constexpr DocGroup fileGroupsNewer[] = {DoconT, DoconS, Docond, DoconC, Docono, DoconA, DoconE};

} // namespace

int VersionTextStamp(const std::string& versionText) {
    const std::size_t dot = versionText.rfind('.');
    return LeadingNumber(dot == std::string::npos ? versionText : versionText.substr(dot + 1));
}

int VersionTextTailStamp(const std::string& versionText) {
    if (versionText.size() < 7)
        return 0;
    return LeadingNumber(versionText.substr(versionText.size() - 6));
}

void CKeloServoDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        StoreArchive(ar);
        return;
    }
    const CKeloServoDoc saved(*this);
    const MotorWords words;
    try {
        LoadArchive(ar);
    } catch (...) {
        *this = saved;
        words.Restore();
        throw;
    }
}

void CKeloServoDoc::StoreArchive(CArchive& ar) const {
    const auto block = [&ar](const int* values, int count) {
        ar << count;
        for (int i = 0; i < count; ++i)
            ar << values[i];
    };
    const auto group = [&](DocGroup g) { block(values_[g], DocGroupSize(g)); };

    ar << m_VersionText;
    ar << SeriesCode;
    block(m_Un, DocUnCount);
    block(m_Reserved1, DocReservedCount);
    ar << m_CarriedWord;
    block(m_Reserved2, DocReservedCount);
    for (DocGroup g : fileGroupsMain)
        group(g);
    group(DocEn);
    for (DocGroup g : fileGroupsNewer)
        group(g);
    ar << m_ArchivedWord1;
    ar << m_ArchivedWord2;
    group(Doctn);
    group(DocEC);
    // A longer list would make a file that no load accepts: the newest names are kept.
    const std::size_t names = std::min<std::size_t>(m_Names.size(), DocNameListMax);
    ar << static_cast<int>(names);
    for (auto name = m_Names.end() - static_cast<std::ptrdiff_t>(names); name != m_Names.end(); ++name)
        ar << *name;
    group(DocMAb);
    int row28[Row28Words];
    CurrentMotorWords(row28);
    block(row28, Row28Words);
}

void CKeloServoDoc::LoadArchive(CArchive& ar) {
    DocumentReader in(ar);
    const int modelBefore = ModelCode;

    // The stamp of the file decides how it is read; the document itself stays at the current
    // version, so a re-saved old file is not taken for an old one again.
    const int stamp = VersionTextStamp(in.Text());

    ResetMainGroups();
    ResetMAbDefaults();
    m_Names.clear();

    const int fileSeries = in.Int();
    in.Block(m_Un, DocUnCount);
    in.Block(m_Reserved1, DocReservedCount);
    m_CarriedWord = in.Int();
    in.Block(m_Reserved2, DocReservedCount);
    for (DocGroup g : fileGroupsMain)
        in.Block(values_[g], DocGroupSize(g));
    std::copy(values_[DocHn], values_[DocHn] + 24, m_HnSecond);

    // Files end early when they were written before the later groups existed; what they lack keeps
    // its defaults.
    if (in.DataRemains())
        in.Block(values_[DocEn], DocGroupSize(DocEn));
    ResetOnGroupsDefaults();
    for (DocGroup g : fileGroupsNewer)
        if (in.DataRemains())
            in.Block(values_[g], DocGroupSize(g));
    if (in.DataRemains())
        m_ArchivedWord1 = in.Int();
    if (in.DataRemains())
        m_ArchivedWord2 = in.Int();
    if (in.DataRemains())
        in.Block(values_[Doctn], DocGroupSize(Doctn));
    if (in.DataRemains())
        in.Block(values_[DocEC], DocGroupSize(DocEC));
    if (in.DataRemains()) {
        const int count = in.NameCount();
        m_Names.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            m_Names.push_back(in.Text());
    }
    if (in.DataRemains())
        in.Block(values_[DocMAb], DocGroupSize(DocMAb));

    if (in.DataRemains()) {
        if (stamp > 230820) {
            // A short row keeps the words it lacks.
            int row28[Row28Words];
            CurrentMotorWords(row28);
            in.Block(row28, Row28Words);
            FeatureStatusWord = row28[0];
            MotorEncoderResolution = row28[1];
            ForwardTorqueLimit = row28[2];
            ReverseTorqueLimit = row28[3];
            ModelCode = row28[4];
            DriveCapacityIndex = row28[5];
            RatedSpeed = row28[6];
            DriveControlMode = row28[7];
        }
        if (host_->IsConnected() && ModelCode != modelBefore) {
            ShowMessage(MotorTypeChangedText);
        } else {
            InitSeriesDefaults();
            InitDependentDefaults();
        }
    } else if (!host_->IsConnected()) {
        // Files from before the motor words were stored: derive them from the file's motor code.
        ModelCode = Value(DocCn, 30);
        const int group = MotorCodeToGroup(ModelCode);
        const int row = MotorCodeToRow(static_cast<unsigned>(ModelCode));
        m_Wizard.m_EncoderResolution = MotorEncoderResolution;
        m_Wizard.MotorModelAt(group, row);
        m_Wizard.ApplyMotorDefaults(ModelCode, m_Wizard.m_RatedSpeed);
        RatedSpeed = m_Wizard.m_RatedSpeed;
        MotorEncoderResolution = m_Wizard.m_EncoderResolution;
        ForwardTorqueLimit = m_Wizard.m_CollectedDefaults.Cn[10 - 1];
        ReverseTorqueLimit = m_Wizard.m_CollectedDefaults.Cn[11 - 1];
        int capacity = (ModelCode >> 8) & 0xF;
        if (!SeriesHasFeature(Context())) {
            if (capacity == 4)
                capacity = 10;
            else if (capacity == 5)
                capacity = 4;
            else if (capacity > 6)
                capacity -= 2;
        }
        DriveCapacityIndex = (DriveCapacityIndex & ~0xF) | (capacity & 0xF);
        InitSeriesDefaults();
        InitDependentDefaults();
    }

    // Values older versions wrote that the drive no longer accepts.
    if (stamp <= 230820) {
        if (Value(DocCn, 80) == 2)
            Value(DocCn, 80) = 0;
        if (Value(DocCn, 81) == 4)
            Value(DocCn, 81) = 0;
    } else if (stamp == 230821) {
        if (Value(DocCn, 81) == 4)
            Value(DocCn, 81) = 0;
    }

    host_->ClearComparisonTables();
    if (fileSeries != SeriesCode && !host_->IsConnected()) {
        SeriesCode = fileSeries;
        ForeignSeriesLoadedFlag = true;
        host_->OnSeriesChanged(fileSeries);
    }
    SetModifiedFlag(false);
}

DocumentOpenCheck CheckDocumentOpen(const std::string& path, int seriesCode, bool documentGiven) {
    if (seriesCode == -1)
        return {};
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary)) {
        const std::string standIn = TempFolderFile(DocumentStandInName);
        // Nothing to examine: stop here instead of loading a file that cannot be read.
        if (standIn.empty() || !file.Open(standIn, CFile::modeRead | CFile::typeBinary | CFile::modeNoFollow))
            return {DocumentOpenCheck::Refuse, "Cannot open the file \"" + path + "\"."};
    }
    std::string version;
    int series = 0;
    try {
        CArchive ar(&file, CArchive::load);
        DocumentReader in(ar);
        version = in.Text();
        series = in.Int();
    } catch (const CArchiveException&) {
        return {DocumentOpenCheck::Refuse, UnexpectedFormatText};
    } catch (const CFileException&) {
        return {DocumentOpenCheck::Refuse, UnexpectedFormatText};
    }
    file.Abort();

    if (version.size() > 4 && version.compare(0, 4, DocumentMagic) != 0) {
        if (documentGiven)
            return {DocumentOpenCheck::HandOff, ""};
        return {DocumentOpenCheck::Refuse, SeriesMismatchText};
    }
    if (!documentGiven) {
        const int stamp = VersionTextTailStamp(version);
        if (series != seriesCode || (series == 6 && stamp <= 110326 && stamp != 110316))
            return {DocumentOpenCheck::Refuse, SeriesMismatchText};
    }
    return {};
}

bool WriteHandOffFile(const std::string& documentPath) {
    // The fresh instance reads "2" and then the path as it stands, so the path ends the file.
    return WriteHandoffLines({"2", documentPath}, false);
}

bool CKeloServoDoc::OnOpenDocument(const std::string& path) {
    const DocumentOpenCheck check = CheckDocumentOpen(path, SeriesCode, host_->DocumentGiven());
    if (check.outcome == DocumentOpenCheck::Refuse) {
        ShowMessage(check.message, std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (check.outcome == DocumentOpenCheck::HandOff) {
        if (!WriteHandOffFile(path))
            return false;
        // The file is not ours to read whether or not the fresh instance started.
        if (!host_->StartNewInstance())
            ShowMessage(ProcessFailedText, std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
        ShowMessage("Cannot open the file \"" + path + "\".", std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    try {
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
    } catch (const CArchiveException&) {
        ShowMessage(UnexpectedFormatText, std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    } catch (const CFileException&) {
        ShowMessage(UnexpectedFormatText, std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CKeloServoDoc::OnSaveDocument(const std::string& path) {
    std::string error;
    const bool saved = WriteNewFile(
        path,
        [this](CFile& file) {
            CArchive ar(&file, CArchive::store);
            Serialize(ar);
            ar.Close();
        },
        &error);
    if (!saved) {
        ShowMessage(SaveFailedText + error, std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CKeloServoDoc::SaveModified(const std::string& fileName,
                                 const std::function<std::string()>& chooseFile) {
    if (!IsModified())
        return true;
    switch (ShowMessage(SaveQuestionText, std::string(), MB_YESNOCANCEL | MB_ICONINFORMATION)) {
    case IDYES: {
        const std::string path = fileName.empty() && chooseFile ? chooseFile() : fileName;
        // Closing after a failed save would lose the changes.
        return !path.empty() && OnSaveDocument(path);
    }
    case IDNO:
        return true;
    default:
        return false;
    }
}

#pragma once
// The parameter document: one complete parameter set of one drive with its defaults and limits,
// the drive's version words, monitor values, the drive memory image and a list of names. Pure data
// and rules; the shell wraps it as the framework document.
#include "catalogue/CatalogueContext.h"
#include "catalogue/DocumentHost.h"
#include "catalogue/MotorTables.h"
#include "catalogue/ParamCode.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

class CArchive;
#include <vector>

// Groups of the document in the order of its default table.
enum DocGroup : int {
    DocCn,
    DocTn,
    DocSn,
    DocPn3,
    Docqn,
    DocHn,
    DocPn4,
    DocEn,
    DocMAb,
    Doctn,
    DocEC,
    DoconT,
    DoconS,
    Docond,
    DoconC,
    Docono,
    DoconA,
    DoconE,
    DocGroupCount
};

constexpr int DocGroupMaxSize = 99;
constexpr int DocUnCount = 97;
constexpr int DocOnUCount = 52;
constexpr int DocReservedCount = 20;
constexpr int DocNameListMax = 65536;
constexpr int MemoryImageWords = 1024;

// Parameters held by a group (Cn 99, Tn 18, ...); 0 for an unknown group.
int DocGroupSize(DocGroup group);
// The catalogue group of a document group, and back (-1 when the catalogue group is not held).
ParamGroup DocGroupToParamGroup(DocGroup group);
int DocGroupOfParamGroup(ParamGroup group);
// Code text of a document parameter ("Cn001", "onC05").
std::string DocParamCode(DocGroup group, int number);

class CKeloServoDoc {
public:
    static constexpr const char* VersionLiteral = "KELO Servo Ver:0.1.260123";

    explicit CKeloServoDoc(DocumentHost* host = nullptr);
    virtual ~CKeloServoDoc() = default;

    void SetHost(DocumentHost* host) { host_ = host ? host : &DefaultDocumentHost(); }
    DocumentHost& Host() const { return *host_; }

    // Element access by group and parameter number (1-based). Numbers outside the group are a
    // programming error and trip an assertion; use the Find variants for numbers from outside.
    int& Value(DocGroup group, int number);
    int Value(DocGroup group, int number) const;
    int& Default(DocGroup group, int number);
    int Default(DocGroup group, int number) const;
    int& Minimum(DocGroup group, int number);
    int Minimum(DocGroup group, int number) const;
    int& Maximum(DocGroup group, int number);
    int Maximum(DocGroup group, int number) const;

    // By code ("Cn025"); nullptr for a code the document does not hold.
    int* FindValue(std::string_view code);
    int* FindDefault(std::string_view code);
    int* FindMinimum(std::string_view code);
    int* FindMaximum(std::string_view code);

    // The catalogue context of the document's drive, series and motor.
    CatalogueContext Context() const;
    // The motor code the rules read: ModelCode while connected, else the document's Cn030 value.
    int RuleMotorCode() const;
    bool IsLinearMotor() const;

    // Per-group resets: copy the group's defaults into its values.
    void ResetCn0Defaults();
    void ResetTn1Defaults();
    void ResetSn2Defaults();
    void ResetPn3Defaults(); // also refreshes the extra copy of the Pn347 default
    void ResetQn5Defaults();
    void ResetHn6Defaults(); // into both Hn value arrays
    void ResetPn4Defaults();
    void ResetEn7Defaults();
    void ResetMAbDefaults();
    void ResetTn8Defaults();
    void ResetEC9Defaults();
    void ResetOnGroupsDefaults();

    // The second Hn array (m_HnSecond) as a whole.
    std::array<int, 24> DioContactFunctions() const;
    void SetDioContactFunctions(const std::array<int, 24>& words);

    // Default table and limit tables.
    void InitSeriesDefaults();
    void SetDriveDependentDefaults();
    void SetDioDefaultsByControlMode();
    void InitDependentDefaults();

    // New document. The framework step of the shell runs before it.
    bool OnNewDocument();

    // Stores the document archive, or loads it. A load that fails (short or malformed file) raises
    // CArchiveException and leaves the document and the motor words as they were.
    virtual void Serialize(CArchive& ar);
    // Checks a document file (magic, series, date) and loads it; false when it was refused, handed
    // to a new instance or could not be read. Every refusal has been shown to the user.
    virtual bool OnOpenDocument(const std::string& path);
    // Writes the archive; false (after a message) when the file cannot be written.
    virtual bool OnSaveDocument(const std::string& path);
    // The question when a changed document is closed. fileName is the main frame's file name;
    // chooseFile asks the user for one and gives "" when cancelled. True when the document may close.
    bool SaveModified(const std::string& fileName, const std::function<std::string()>& chooseFile);

    bool IsModified() const { return modified_; }
    virtual void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    // Data members, named as the rest of the program knows them.
    std::string m_VersionText;
    int m_CarriedWord = 0; // carried by the archive between the two reserved blocks
    // The drive's version words: dn-04 (CPU software), onU48 (MCU, read by the visibility rules of
    // the catalogue) and dn-09 (ASIC software).
    int m_DriveSoftwareVersion = 246;
    int m_ExtendedVersion = 2460;
    int m_AsicVersion = 55;
    int m_Dn03Value = 0; // dn-03 as the connect and the re-check read it
    int m_DocumentState = 0;
    int m_StatusWord = 0;    // 16-bit word of the status poll
    int m_OnC18Status = 0;   // onC18 as the status poll read it
    int m_ArchivedWord1 = 0; // the two further words the archive carries
    int m_ArchivedWord2 = 0;
    int m_Reserved1[DocReservedCount] = {};
    int m_Reserved2[DocReservedCount] = {};
    int m_OnU[DocOnUCount] = {};
    // The second Hn array: the functions the drive runs its inputs and outputs with, as its contact
    // block reports them (in the form of Hn601-Hn624). Only the trace set-up lists read it; a file
    // does not hold it, and the user's Hn values (the first array) never take it.
    int m_HnSecond[24] = {};
    int m_Un[DocUnCount] = {};
    int m_MemoryImage[2][MemoryImageWords] = {};
    int m_Pn347DefaultCopy = 0;
    // The name list (one text per value a read-all found out of range). The archive holds at most
    // DocNameListMax of them: a save keeps the newest, a load refuses a larger count.
    std::vector<std::string> m_Names;
    // The setup wizard's motor tables; used when an old archive is loaded.
    MotorTables m_Wizard;

private:
    // Copies are private: a load keeps one to undo a failed read.
    CKeloServoDoc(const CKeloServoDoc&) = default;
    CKeloServoDoc& operator=(const CKeloServoDoc&) = default;

    void ResetGroup(DocGroup group);
    // The resets shared by a new document and a load, in their fixed order (Cn to EC, with the
    // digital I/O defaults of the control mode before Hn).
    void ResetMainGroups();
    void LoadArchive(CArchive& ar);
    void StoreArchive(CArchive& ar) const;

    DocumentHost* host_;
    bool modified_ = false;
    int values_[DocGroupCount][DocGroupMaxSize] = {};
    int defaults_[DocGroupCount][DocGroupMaxSize] = {};
    int minimum_[DocGroupCount][DocGroupMaxSize] = {};
    int maximum_[DocGroupCount][DocGroupMaxSize] = {};
};

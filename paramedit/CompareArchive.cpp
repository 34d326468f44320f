#include "paramedit/CompareArchive.h"

#include "framework/core/Archive.h"
#include "framework/core/File.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "paramedit/EditorFiles.h"

namespace {

std::string LoadedOr(const StringLoader& load, int id, const char* english) {
    std::string text = load ? load(id) : std::string();
    return text.empty() ? std::string(english) : text;
}

// Element i of a result array; 0 past its end, so a result whose arrays were shortened is written
// with zeros instead of being read past.
template <typename T> int At(const std::vector<T>& values, std::size_t i) {
    return i < values.size() ? static_cast<int>(values[i]) : 0;
}

} // namespace

bool IsCompareArchiveHeader(const std::string& header) {
    return header.find("ParaComp") != std::string::npos && header.find("Kelo Servo") != std::string::npos;
}

void StoreCompareArchive(CArchive& ar, const CompareResult& result, const std::string& documentVersion) {
    ar << std::string(CompareArchiveHeader);
    ar << documentVersion;
    ar << result.seriesCode;
    ar << result.mode;
    ar << (result.mode == CompareTwoFiles ? result.file1 : std::string(CompareNoNameText));
    ar << (result.mode == CompareFile || result.mode == CompareTwoFiles ? result.file2
                                                                        : std::string(CompareNoNameText));
    for (int g = 0; g < CompareGroupCount; ++g) {
        const auto& group = result.groups[static_cast<std::size_t>(g)];
        const int size = CompareGroupSize(g);
        ar << size;
        for (int k = 0; k < size; ++k) {
            const auto i = static_cast<std::size_t>(k);
            ar << static_cast<BYTE>(At(group.differs, i) ? 1 : 0);
            ar << At(group.a, i);
            ar << At(group.b, i);
        }
    }
}

void LoadCompareArchiveBody(CArchive& ar, CompareResult& result) {
    CompareResult read;
    std::string version;
    ar >> version; // the document version is not used
    ar >> read.seriesCode;
    ar >> read.mode;
    if (read.mode < CompareDrive || read.mode > CompareTwoFiles)
        throw CArchiveException(CArchiveException::badFormat, Format("comparison mode %d", read.mode));
    ar >> read.file1;
    ar >> read.file2;
    for (int g = 0; g < CompareGroupCount; ++g) {
        auto& group = read.groups[static_cast<std::size_t>(g)];
        int count = 0;
        ar >> count;
        if (count < 0)
            throw CArchiveException(CArchiveException::badLength, Format("negative count %d", count));
        // Each entry is read before it is kept, so a false count stops at the end of the file.
        for (int k = 0; k < count; ++k) {
            BYTE flag = 0;
            int a = 0;
            int b = 0;
            ar >> flag >> a >> b;
            if (k < CompareGroupSize(g)) {
                const auto i = static_cast<std::size_t>(k);
                group.differs[i] = flag != 0;
                group.a[i] = a;
                group.b[i] = b;
            }
        }
    }
    result = std::move(read);
}

bool WriteCompareArchiveFile(const std::string& path, const CompareResult& result,
                             const std::string& documentVersion, std::string* error) {
    return WriteNewFile(
        path,
        [&](CFile& file) {
            CArchive ar(&file, CArchive::store);
            StoreCompareArchive(ar, result, documentVersion);
            ar.Close();
        },
        error);
}

bool OpenCompareArchive(const std::string& path, CompareResult& result) {
    CFile file;
    CFileException fileError;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &fileError)) {
        ShowCannotOpenFile(path);
        return false;
    }
    try {
        CArchive ar(&file, CArchive::load);
        std::string header;
        ar >> header;
        if (!IsCompareArchiveHeader(header))
            throw CArchiveException(CArchiveException::badFormat, "not a comparison archive");
        LoadCompareArchiveBody(ar, result);
        ar.Close();
    } catch (const std::exception&) {
        ShowMessage(CompareFileFormatText, CompareOpenCaption, MB_OK | MB_ICONSTOP);
        return false;
    }
    return true;
}

std::string CompareColumnHeader(const CompareResult& result, int column, const StringLoader& load) {
    switch (column) {
    case 0:
        return LoadedOr(load, IDS_COMPARE_CODE, "Code");
    case 1:
        return LoadedOr(load, IDS_COMPARE_NAME, "Parameter Name");
    case 2:
        return result.mode == CompareTwoFiles ? result.file1
                                              : LoadedOr(load, IDS_COMPARE_EDIT_VALUE, "Edit Value");
    case 3:
        if (result.mode == CompareDrive)
            return LoadedOr(load, IDS_COMPARE_READ_VALUE, "Read Value");
        if (result.mode == CompareDefaults)
            return LoadedOr(load, IDS_COMPARE_DEFAULT, "Default");
        return result.file2;
    default:
        return {};
    }
}

std::string CompareCsvText(const CompareResult& result, const CatalogueContext& context,
                           const StringLoader& load) {
    std::string text = std::string(CompareArchiveHeader) + "\n";
    for (int column = 0; column < 4; ++column)
        text += CompareColumnHeader(result, column, load) + ",";
    text += "\n";
    for (int g = 0; g < CompareGroupCount; ++g) {
        const auto& group = result.groups[static_cast<std::size_t>(g)];
        for (int k = 0; k < CompareGroupSize(g); ++k) {
            const auto i = static_cast<std::size_t>(k);
            if (!At(group.differs, i))
                continue;
            const std::string code = ParamCodeFromIndex(CompareIndex(g, k));
            text += code + "," + ParamTitle(code, load) + "," +
                    FormatParamValue(code, At(group.a, i), context) + "," +
                    FormatParamValue(code, At(group.b, i), context) + ",\n";
        }
    }
    return text;
}

bool IsCsvPath(const std::string& path) {
    return path.size() >= 3 && ToUpper(path.substr(path.size() - 3)) == "CSV";
}

bool SaveCompareResult(const std::string& path, const CompareResult& result,
                       const std::string& documentVersion, const CatalogueContext& context,
                       const StringLoader& load, std::string* error) {
    if (!IsCsvPath(path))
        return WriteCompareArchiveFile(path, result, documentVersion, error);
    const std::string text = CompareCsvText(result, context, load);
    return WriteNewFile(
        path, [&](CFile& file) { file.Write(text.data(), text.size()); }, error);
}

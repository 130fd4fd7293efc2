// The version resource reader; see cmp_TVersion.h.
#include "system/cmp_TVersion.h"

#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "runtime/Forms.h"
#include "platform/VersionBlock.h"

RT_DEFINE_ENUM(TLanguage, "lnArabic", "lnBulgarian", "lnCatalan", "lnTraditionalChinese", "lnCzech", "lnDanish", "lnGerman",
               "lnGreek", "lnUSEnglish", "lnCastilianSpanish", "lnFinnish", "lnFrench", "lnHebrew", "lnHungarian",
               "lnIcelandic", "lnItalian", "lnJapanese", "lnKorean", "lnDutch", "lnNorwegianBokmal", "lnPolish",
               "lnBrazilianPortuguese", "lnRhaetoRomanic", "lnRomanian", "lnRussian", "lnCroatoSerbian", "lnSlovak",
               "lnAlbanian", "lnSwedish", "lnThai", "lnTurkish", "lnUrdu", "lnBahasa", "lnSimplifiedChinese",
               "lnSwissGerman", "lnUKEnglish", "lnMexicanSpanish", "lnBelgianFrench", "lnSwissItalian", "lnBelgianDutch",
               "lnNorwegianNynorsk", "lnPortuguese", "lnSerboCroatian", "lnCanadianFrench", "lnSwissFrench")
RT_DEFINE_ENUM(TCharacterSet, "csASCII", "csJapan", "csKorea", "csTaiwan", "csUnicode", "csLatin2", "csCyrillic",
               "csMultilingual", "csGreek", "csTurkish", "csHebrew", "csArabic")

namespace {

// The languages after lnBahasa do not follow the 0x0401 + ordinal rule.
constexpr std::uint16_t kLaterLanguages[] = {0x0804, 0x0807, 0x0809, 0x080A, 0x080C, 0x0810,
                                             0x0813, 0x0814, 0x0816, 0x081A, 0x0C0C, 0x100C};
constexpr std::uint16_t kCodePages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};

std::string FileOSText(std::uint32_t value) {
    switch (value) {
        case 1: return "Windows 3.0 or later";
        case 2: return "16 bit OS/2 Presentation Manager";
        case 3: return "32 bit OS/2 Presentation Manager";
        case 4: return "32 bit Windows";
        case 0x10000: return "MS-Dos";
        case 0x10001: return "Windows 3.0 or later with MS-Dos";
        case 0x10004: return "32 bit Windows with MS-Dos";
        case 0x20000: return "16 bit OS/2";
        case 0x20002: return "16 bit OS/2 with Presentation Manager";
        case 0x30000: return "32 bit OS/2";
        case 0x30003: return "32 bit OS/2 with Presentation Manager";
        case 0x40000: return "Windows NT";
        case 0x40004: return "Windows NT with 32 bit Windows";
        default: return "Unknown";
    }
}

std::string FileTypeText(std::uint32_t value) {
    switch (value) {
        case 1: return "Application";
        case 2: return "Dynamic-Link Library";
        case 3: return "Device Driver";
        case 4: return "Font";
        case 5: return "Virtual Device Driver";
        case 7: return "Static-Link Library";
        default: return "Unknown";
    }
}

constexpr std::uint32_t kTypeDriver = 3;
constexpr std::uint32_t kTypeFont = 4;

std::string FileSubTypeText(std::uint32_t type, std::uint32_t subType) {
    static const char* const kDrivers[] = {"Printer", "Keyboard", "Language", "Display", "Mouse",
                                           "Network", "System", "Installable", "Sound", "Communications"};
    static const char* const kFonts[] = {"Raster", "Vector", "TrueType"};
    if (type == kTypeDriver) return subType >= 1 && subType <= 10 ? kDrivers[subType - 1] : "Unknown";
    if (type == kTypeFont) return subType >= 1 && subType <= 3 ? kFonts[subType - 1] : "Unknown";
    return {};
}

std::string VersionText(std::uint32_t ms, std::uint32_t ls) {
    return std::to_string(ms >> 16) + std::string(".") + std::to_string(ms & 0xFFFF) + std::string(".") + std::to_string(ls >> 16) + "." +
           std::to_string(ls & 0xFFFF);
}

std::string Hex4(unsigned value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4) s[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return s;
}

TVersionResource* gShared = nullptr;

// Frees a shared reader made without an application when the program ends.
struct UnownedShared {
    ~UnownedShared() {
        if (gShared && !gShared->Owner()) gShared->Free();
    }
};

}  // namespace

std::uint16_t LanguageIdentifier(TLanguage language) {
    const auto ordinal = static_cast<unsigned>(language);
    constexpr auto kFirstLater = static_cast<unsigned>(TLanguage::lnSimplifiedChinese);
    if (ordinal < kFirstLater) return static_cast<std::uint16_t>(0x0401 + ordinal);
    return kLaterLanguages[ordinal - kFirstLater];
}

std::uint16_t CodePageOf(TCharacterSet characterSet) { return kCodePages[static_cast<unsigned>(characterSet)]; }

// ---- TVersionInfo -----------------------------------------------------------------------

const rt::TClassInfo& TVersionInfo::StaticClass() {
    using V = TVersionInfo;
    static const rt::TClassInfo info{
        "TVersionInfo", &rt::TPersistent::StaticClass(), nullptr,
        {rt::Property("Comment", &V::Comment), rt::Property("CompanyName", &V::CompanyName),
         rt::Property("FileDescription", &V::FileDescription), rt::Property("FileVersion", &V::FileVersion),
         rt::Property("InternalName", &V::InternalName), rt::Property("LegalCopyright", &V::LegalCopyright),
         rt::Property("LegalTradeMarks", &V::LegalTradeMarks), rt::Property("OriginalFileName", &V::OriginalFileName),
         rt::Property("PrivateBuild", &V::PrivateBuild), rt::Property("ProductName", &V::ProductName),
         rt::Property("ProductVersion", &V::ProductVersion), rt::Property("SpecialBuild", &V::SpecialBuild),
         rt::Property("FileOS", &V::FileOS), rt::Property("FileType", &V::FileType),
         rt::Property("FileSubType", &V::FileSubType)},
        {}};
    return info;
}

void TVersionInfo::Clear() {
    for (std::string* text : {&Comment, &CompanyName, &FileDescription, &FileVersion, &InternalName, &LegalCopyright,
                              &LegalTradeMarks, &OriginalFileName, &PrivateBuild, &ProductName, &ProductVersion,
                              &SpecialBuild, &FileOS, &FileType, &FileSubType})
        text->clear();
}

void TVersionInfo::Assign(const rt::TPersistent& source) {
    if (!source.InheritsFrom(StaticClass())) return TPersistent::Assign(source);
    const auto& s = static_cast<const TVersionInfo&>(source);
    Comment = s.Comment;
    CompanyName = s.CompanyName;
    FileDescription = s.FileDescription;
    FileVersion = s.FileVersion;
    InternalName = s.InternalName;
    LegalCopyright = s.LegalCopyright;
    LegalTradeMarks = s.LegalTradeMarks;
    OriginalFileName = s.OriginalFileName;
    PrivateBuild = s.PrivateBuild;
    ProductName = s.ProductName;
    ProductVersion = s.ProductVersion;
    SpecialBuild = s.SpecialBuild;
    FileOS = s.FileOS;
    FileType = s.FileType;
    FileSubType = s.FileSubType;
}

// ---- TVersionResource -------------------------------------------------------------------

const rt::TClassInfo& TVersionResource::StaticClass() {
    using R = TVersionResource;
    static const rt::TClassInfo info{"TVersionResource", &rt::TComponent::StaticClass(), rt::Factory<TVersionResource>(),
                                     {rt::AccessorProperty("FileName", &R::FileName, &R::SetFileName),
                                      rt::AccessorProperty("Language", &R::Language, &R::SetLanguage),
                                      rt::AccessorProperty("CharacterSet", &R::CharacterSet, &R::SetCharacterSet),
                                      rt::ObjectProperty("VersionInfo", &R::VersionInfoObject)},
                                     {}};
    return info;
}

TVersionResource::TVersionResource(rt::TComponent* owner) : rt::TComponent(owner), FVersionInfo(new TVersionInfo) {
    if (os::IPlatform* platform = os::ScopedPlatform::TryCurrent()) FFileName = platform->ModuleFileName();
    Read();
}

TVersionResource::~TVersionResource() {
    if (gShared == this) gShared = nullptr;
    delete FVersionInfo;
}

void TVersionResource::SetFileName(const std::string& value) {
    FFileName = value;
    if (!IsLoading()) Read();
}

void TVersionResource::SetLanguage(TLanguage value) {
    FLanguage = value;
    if (!IsLoading()) Read();
}

void TVersionResource::SetCharacterSet(TCharacterSet value) {
    FCharacterSet = value;
    if (!IsLoading()) Read();
}

void TVersionResource::Loaded() {
    rt::TComponent::Loaded();
    Read();
}

std::string TVersionResource::StringTablePrefix() const {
    return "\\StringFileInfo\\" + Hex4(LanguageIdentifier(FLanguage)) + Hex4(CodePageOf(FCharacterSet)) + "\\";
}

void TVersionResource::Read() {
    TVersionInfo& v = *FVersionInfo;
    v.Clear();
    os::IPlatform* platform = os::ScopedPlatform::TryCurrent();
    std::vector<std::uint8_t> block;
    if (!platform || FFileName.empty() || !platform->GetFileVersionInfo(FFileName, block)) return;
    TFixedFileInfo fixed;
    if (!QueryFixedFileInfo(block, fixed)) return;
    v.FileVersion = VersionText(fixed.FileVersionMS, fixed.FileVersionLS);
    v.ProductVersion = VersionText(fixed.ProductVersionMS, fixed.ProductVersionLS);
    v.FileOS = FileOSText(fixed.FileOS);
    v.FileType = FileTypeText(fixed.FileType);
    v.FileSubType = FileSubTypeText(fixed.FileType, fixed.FileSubtype);

    // Only the component's own language and code page; FileVersion stays numeric.
    const std::string prefix = StringTablePrefix();
    const std::pair<const char*, std::string*> keys[] = {
        {"Comments", &v.Comment},           {"CompanyName", &v.CompanyName},   {"FileDescription", &v.FileDescription},
        {"InternalName", &v.InternalName},  {"LegalCopyright", &v.LegalCopyright}, {"LegalTradeMarks", &v.LegalTradeMarks},
        {"OriginalFileName", &v.OriginalFileName}, {"PrivateBuild", &v.PrivateBuild}, {"ProductName", &v.ProductName},
        {"ProductVersion", &v.ProductVersion}, {"SpecialBuild", &v.SpecialBuild}};
    for (const auto& [key, target] : keys) {
        std::string text;
        if (QueryVersionString(block, prefix + key, text)) *target = text;
    }
}

TVersionResource& SharedVersionReader() {
    static UnownedShared cleanup;
    if (!gShared) gShared = new TVersionResource(rt::Application());
    return *gShared;
}

// ---- shared routines --------------------------------------------------------------------

std::string NthField(std::string_view text, int n, std::string_view delimiter) {
    if (delimiter.empty()) return n <= 1 ? std::string(text) : std::string();
    for (int i = 1; i < n; ++i) {
        const std::size_t at = text.find(delimiter);
        if (at == std::string_view::npos) return {};
        text.remove_prefix(at + delimiter.size());
    }
    return std::string(text.substr(0, text.find(delimiter)));
}

int CompareVersions(std::string_view a, std::string_view b) {
    for (int i = 1;; ++i) {
        const std::string fa = NthField(a, i, ".");
        const std::string fb = NthField(b, i, ".");
        if (fa.empty() || fb.empty()) {
            if (fa.empty() && fb.empty()) return 0;
            return fb.empty() ? 1 : 2;
        }
        // std::string compares characters as unsigned codes.
        const int order = fa.compare(fb);
        if (order != 0) return order < 0 ? 2 : 1;
    }
}

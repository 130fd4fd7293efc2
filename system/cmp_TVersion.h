// The version resource reader: the texts of a program file's version resource (numeric file
// and product versions, system and type tables, and the string table of one language and
// code page), the shared reader the archive and the install files use, and the version
// comparison and field splitter the rest of the program shares.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/Classes.h"
#include "runtime/TypInfo.h"

// Languages of a string table; LanguageIdentifier gives the Windows identifier.
enum class TLanguage {
    lnArabic, lnBulgarian, lnCatalan, lnTraditionalChinese, lnCzech, lnDanish, lnGerman, lnGreek, lnUSEnglish,
    lnCastilianSpanish, lnFinnish, lnFrench, lnHebrew, lnHungarian, lnIcelandic, lnItalian, lnJapanese, lnKorean,
    lnDutch, lnNorwegianBokmal, lnPolish, lnBrazilianPortuguese, lnRhaetoRomanic, lnRomanian, lnRussian,
    lnCroatoSerbian, lnSlovak, lnAlbanian, lnSwedish, lnThai, lnTurkish, lnUrdu, lnBahasa, lnSimplifiedChinese,
    lnSwissGerman, lnUKEnglish, lnMexicanSpanish, lnBelgianFrench, lnSwissItalian, lnBelgianDutch,
    lnNorwegianNynorsk, lnPortuguese, lnSerboCroatian, lnCanadianFrench, lnSwissFrench,
};

// Code pages of a string table; CodePageOf gives the number.
enum class TCharacterSet {
    csASCII, csJapan, csKorea, csTaiwan, csUnicode, csLatin2, csCyrillic, csMultilingual, csGreek, csTurkish,
    csHebrew, csArabic,
};

RT_DECLARE_ENUM(TLanguage)
RT_DECLARE_ENUM(TCharacterSet)

std::uint16_t LanguageIdentifier(TLanguage language);
std::uint16_t CodePageOf(TCharacterSet characterSet);

// The fifteen texts of a version resource; all empty when a file has none.
class TVersionInfo : public rt::TPersistent {
    RT_CLASS(TVersionInfo, rt::TPersistent)
public:
    TVersionInfo() = default;

    std::string Comment, CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright, LegalTradeMarks,
        OriginalFileName, PrivateBuild, ProductName, ProductVersion, SpecialBuild, FileOS, FileType, FileSubType;

    void Clear();
    void Assign(const rt::TPersistent& source) override;
};

// Reads the version resource of FileName through the platform. Every assignment of FileName,
// Language or CharacterSet reads the file again at once, also with an unchanged value.
class TVersionResource : public rt::TComponent {
    RT_CLASS(TVersionResource, rt::TComponent)
public:
    // Starts on the running program's own file.
    explicit TVersionResource(rt::TComponent* owner);
    ~TVersionResource() override;

    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& value);
    TLanguage Language() const { return FLanguage; }
    void SetLanguage(TLanguage value);
    TCharacterSet CharacterSet() const { return FCharacterSet; }
    void SetCharacterSet(TCharacterSet value);
    TVersionInfo* VersionInfo() const { return FVersionInfo; }

    // "\StringFileInfo\" + language and code page as eight upper-case hex digits + "\".
    std::string StringTablePrefix() const;

    void Loaded() override;

private:
    TPersistent* VersionInfoObject() const { return FVersionInfo; }
    void Read();

    std::string FFileName;
    TLanguage FLanguage = TLanguage::lnUSEnglish;
    TCharacterSet FCharacterSet = TCharacterSet::csMultilingual;
    TVersionInfo* FVersionInfo;
};

// The process-wide reader: created on first use, owned by the application when there is one
// (otherwise by this unit until the program ends). Callers set FileName and read right away.
TVersionResource& SharedVersionReader();

// The n-th field of text (n counts from 1) between delimiters; empty past the last field.
std::string NthField(std::string_view text, int n, std::string_view delimiter);

// 0 when the versions are the same, 1 when a is newer, 2 when a is older. Fields between dots
// are compared as text, character code by character code ("10" sorts before "9"); an empty
// field ends both versions there.
int CompareVersions(std::string_view a, std::string_view b);

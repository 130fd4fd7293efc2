// The form-description reader; see FormReader.h for the format and the loading order.
#include "runtime/FormReader.h"

#include <map>
#include <optional>

#include "runtime/Forms.h"
#include "runtime/TypInfo.h"

namespace rt {

namespace {

enum class Tok { Ident, Integer, Float, String, Symbol, End };

struct Token {
    Tok Kind = Tok::End;
    std::string Text;   // identifier, string contents (UTF-8), or the symbol
    std::int64_t Int = 0;
    double Float = 0;
    int Line = 1;
};

void AppendCodePoint(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else {
        std::u16string one;
        if (cp >= 0x10000) {
            one += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            one += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            one += char16_t(cp);
        }
        out += Utf16ToUtf8(one);
    }
}

class Lexer {
public:
    explicit Lexer(const std::string& text) : FText(text) { Next(); }

    const Token& Current() const { return FTok; }

    void Next() {
        SkipBlanks();
        FTok = Token{};
        FTok.Line = FLine;
        if (FPos >= FText.size()) return;
        const char c = FText[FPos];
        if (IsAlpha(c)) {
            const std::size_t start = FPos;
            while (FPos < FText.size() && (IsAlpha(FText[FPos]) || IsDigit(FText[FPos]) || FText[FPos] == '.')) ++FPos;
            FTok.Kind = Tok::Ident;
            FTok.Text = FText.substr(start, FPos - start);
        } else if (c == '\'' || c == '#') {
            ReadString();
        } else if (IsDigit(c) || c == '$' || ((c == '-' || c == '+') && FPos + 1 < FText.size() && (IsDigit(FText[FPos + 1]) || FText[FPos + 1] == '$'))) {
            ReadNumber();
        } else {
            FTok.Kind = Tok::Symbol;
            FTok.Text = std::string(1, c);
            ++FPos;
        }
    }

    // Hex digits up to the closing brace, for binary property data.
    TBytes ReadBinary() {
        TBytes bytes;
        int nibbles = 0;
        unsigned value = 0;
        while (FPos < FText.size() && FText[FPos] != '}') {
            const char c = FText[FPos++];
            if (c == '\n') ++FLine;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
            const int v = HexValue(c);
            if (v < 0) throw EReadError(FLine, "invalid binary data");
            value = value * 16 + unsigned(v);
            if (++nibbles == 2) {
                bytes.push_back(static_cast<std::uint8_t>(value));
                nibbles = 0;
                value = 0;
            }
        }
        if (FPos >= FText.size()) throw EReadError(FLine, "'}' expected");
        if (nibbles != 0) throw EReadError(FLine, "invalid binary data");
        ++FPos;
        Next();
        return bytes;
    }

private:
    static bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int HexValue(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    void SkipBlanks() {
        while (FPos < FText.size()) {
            const char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                ++FPos;
            } else if (c == ' ' || c == '\t' || c == '\r' || (FPos == 0 && c == '\xEF')) {
                ++FPos;
            } else if (FPos == 1 && c == '\xBB' && FText.size() > 2 && FText[2] == '\xBF') {
                FPos = 3;  // a UTF-8 byte order mark
            } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
                while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
            } else {
                break;
            }
        }
    }

    void ReadString() {
        FTok.Kind = Tok::String;
        while (true) {
            if (FPos < FText.size() && FText[FPos] == '\'') {
                ++FPos;
                while (true) {
                    if (FPos >= FText.size() || FText[FPos] == '\n') throw EReadError(FLine, "unterminated string");
                    if (FText[FPos] == '\'') {
                        if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                            FTok.Text += '\'';
                            FPos += 2;
                            continue;
                        }
                        ++FPos;
                        break;
                    }
                    FTok.Text += FText[FPos++];
                }
            } else if (FPos < FText.size() && FText[FPos] == '#') {
                ++FPos;
                std::uint32_t cp = 0;
                int digits = 0;
                if (FPos < FText.size() && FText[FPos] == '$') {
                    ++FPos;
                    while (FPos < FText.size() && HexValue(FText[FPos]) >= 0) cp = cp * 16 + unsigned(HexValue(FText[FPos++])), ++digits;
                } else {
                    while (FPos < FText.size() && IsDigit(FText[FPos])) cp = cp * 10 + unsigned(FText[FPos++] - '0'), ++digits;
                }
                if (digits == 0 || cp > 0x10FFFF) throw EReadError(FLine, "invalid character code");
                AppendCodePoint(FTok.Text, cp);
            } else {
                // "'abc' +" continues the string on the next line.
                const std::size_t save = FPos;
                const int saveLine = FLine;
                SkipBlanks();
                if (FPos < FText.size() && FText[FPos] == '+') {
                    ++FPos;
                    SkipBlanks();
                    if (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) continue;
                    throw EReadError(FLine, "string expected after '+'");
                }
                FPos = save;
                FLine = saveLine;
                return;
            }
        }
    }

    void ReadNumber() {
        const std::size_t start = FPos;
        bool negative = false;
        if (FText[FPos] == '-' || FText[FPos] == '+') negative = FText[FPos++] == '-';
        if (FText[FPos] == '$') {
            ++FPos;
            std::uint64_t v = 0;
            int digits = 0;
            while (FPos < FText.size() && HexValue(FText[FPos]) >= 0) v = v * 16 + unsigned(HexValue(FText[FPos++])), ++digits;
            if (digits == 0) throw EReadError(FLine, "invalid number");
            FTok.Kind = Tok::Integer;
            FTok.Int = negative ? -std::int64_t(v) : std::int64_t(v);
            return;
        }
        bool isFloat = false;
        while (FPos < FText.size() && (IsDigit(FText[FPos]) || FText[FPos] == '.' || FText[FPos] == 'e' || FText[FPos] == 'E' ||
                                       ((FText[FPos] == '-' || FText[FPos] == '+') && (FText[FPos - 1] == 'e' || FText[FPos - 1] == 'E')))) {
            if (!IsDigit(FText[FPos])) isFloat = true;
            ++FPos;
        }
        const std::string text = FText.substr(start, FPos - start);
        try {
            if (isFloat) {
                FTok.Kind = Tok::Float;
                FTok.Float = std::stod(text);
            } else {
                FTok.Kind = Tok::Integer;
                FTok.Int = std::stoll(text);
            }
        } catch (const std::exception&) {
            throw EReadError(FLine, "invalid number '" + text + "'");
        }
    }

    const std::string& FText;
    std::size_t FPos = 0;
    int FLine = 1;
    Token FTok;
};

class Reader {
public:
    Reader(const std::string& text, TComponent& root) : FLex(text), FRoot(root) {}

    // Reads the whole description; the top object is the root itself.
    void ReadRoot(bool checkClass) {
        FRoot.BeginLoading();
        FLoaded.push_back(&FRoot);
        try {
            ReadObject(nullptr, checkClass);
            if (FLex.Current().Kind != Tok::End) throw EReadError(FLex.Current().Line, "end of description expected");
            ResolveFixups();
        } catch (...) {
            // Nothing half-built stays: the components this read created go again.
            for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it) (*it)->Free();
            FRoot.EndLoading();
            throw;
        }
        for (TComponent* c : FLoaded) {
            c->EndLoading();
            c->Loaded();
        }
    }

    // The class name of the top object, read ahead without consuming anything else.
    static std::string TopClassName(const std::string& text) {
        Lexer lex(text);
        if (lex.Current().Kind != Tok::Ident) return {};
        lex.Next();
        if (lex.Current().Kind != Tok::Ident) return {};
        const std::string first = lex.Current().Text;
        lex.Next();
        if (lex.Current().Kind == Tok::Symbol && lex.Current().Text == ":") {
            lex.Next();
            return lex.Current().Kind == Tok::Ident ? lex.Current().Text : std::string();
        }
        return first;
    }

private:
    struct Fixup {
        TPersistent* Target;
        const TPropInfo* Prop;
        std::string Name;
        int Line;
    };

    [[noreturn]] void Expected(const std::string& what) {
        const Token& t = FLex.Current();
        std::string found = t.Kind == Tok::End ? "end of text" : "'" + t.Text + "'";
        if (t.Kind == Tok::Integer) found = IntToStr(t.Int);
        throw EReadError(t.Line, what + " expected but " + found + " found");
    }

    bool IsSymbol(const char* s) const { return FLex.Current().Kind == Tok::Symbol && FLex.Current().Text == s; }
    bool IsKeyword(const char* s) const { return FLex.Current().Kind == Tok::Ident && SameText(FLex.Current().Text, s); }

    void ExpectSymbol(const char* s) {
        if (!IsSymbol(s)) Expected(std::string("'") + s + "'");
        FLex.Next();
    }

    std::string ExpectIdent(const std::string& what) {
        if (FLex.Current().Kind != Tok::Ident) Expected(what);
        std::string s = FLex.Current().Text;
        FLex.Next();
        return s;
    }

    void ReadObject(TComponent* parent, bool checkClass) {
        if (!IsKeyword("object") && !IsKeyword("inherited") && !IsKeyword("inline")) Expected("'object'");
        const int line = FLex.Current().Line;
        FLex.Next();
        std::string name = ExpectIdent("component name");
        std::string className;
        if (IsSymbol(":")) {
            FLex.Next();
            className = ExpectIdent("class name");
        } else {
            className = name;
            name.clear();
        }

        TComponent* comp = nullptr;
        if (!parent) {
            comp = &FRoot;
            if (checkClass && !SameText(className, FRoot.ClassName()))
                throw EReadError(line, "the description is of class " + className + ", not " + FRoot.ClassName());
            try {
                if (!name.empty()) FRoot.SetName(name);
            } catch (const Exception& e) {
                throw EReadError(line, e.Message());
            }
        } else {
            const TClassInfo* cls = FindClass(className);
            if (!cls) throw EReadError(line, "class " + className + " not found");
            if (!cls->Create) throw EReadError(line, "class " + className + " cannot be created from a description");
            try {
                comp = cls->Create(&FRoot);
            } catch (const Exception& e) {
                throw EReadError(line, "cannot create " + (name.empty() ? className : name) + ": " + e.Message());
            }
            FCreated.push_back(comp);
            FLoaded.push_back(comp);
            comp->BeginLoading();
            try {
                comp->SetName(name);
                comp->SetParentComponent(parent);
            } catch (const Exception& e) {
                throw EReadError(line, e.Message());
            }
        }

        while (!IsKeyword("end")) {
            if (FLex.Current().Kind == Tok::End) Expected("'end'");
            if (IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline")) ReadObject(comp, false);
            else ReadProperty(*comp);
        }
        FLex.Next();
    }

    // Finds the property a dotted path names, stepping through nested objects.
    const TPropInfo& ResolvePath(TPersistent*& target, const std::string& path, int line) {
        std::size_t start = 0;
        while (true) {
            const std::size_t dot = path.find('.', start);
            const std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
            const TPropInfo* p = target->ClassType().FindProp(part);
            if (!p) throw EReadError(line, "property " + path + " does not exist in " + target->ClassName());
            if (dot == std::string::npos) return *p;
            // "Lines.Strings" names the list itself.
            if (p->Kind == TTypeKind::tkStrings && SameText(path.substr(dot + 1), "Strings")) return *p;
            if (p->Kind != TTypeKind::tkClass) throw EReadError(line, "property " + path + " does not exist in " + target->ClassName());
            target = p->Object(*target);
            if (!target) throw EReadError(line, "property " + path + " has no object to set");
            start = dot + 1;
        }
    }

    void ReadProperty(TComponent& comp) {
        const int line = FLex.Current().Line;
        const std::string path = ExpectIdent("property name");
        ExpectSymbol("=");
        TPersistent* target = &comp;
        const TPropInfo& prop = ResolvePath(target, path, line);
        const TPropValue value = ReadValue(prop, *target, path);
        if (std::holds_alternative<std::monostate>(value)) return;  // a reference, set later
        Assign(*target, prop, value, path, line);
    }

    void Assign(TPersistent& target, const TPropInfo& prop, const TPropValue& value, const std::string& path, int line) {
        if (!prop.Set) throw EReadError(line, "property " + path + " is read-only");
        try {
            prop.Set(target, value);
        } catch (const Exception& e) {
            throw EReadError(line, "error setting " + path + ": " + e.Message());
        } catch (const std::bad_variant_access&) {
            throw EReadError(line, "invalid value for " + path);
        }
    }

    std::string ExpectString(const std::string& path) {
        if (FLex.Current().Kind != Tok::String) Expected("string for " + path);
        std::string s = FLex.Current().Text;
        FLex.Next();
        return s;
    }

    TPropValue ReadValue(const TPropInfo& prop, TPersistent& target, const std::string& path) {
        const Token tok = FLex.Current();
        switch (prop.Kind) {
        case TTypeKind::tkInteger:
            if (tok.Kind == Tok::Ident && prop.IdentToInt) {
                std::int64_t v = 0;
                if (!prop.IdentToInt(tok.Text, v)) throw EReadError(tok.Line, "'" + tok.Text + "' is not a valid value for " + path);
                FLex.Next();
                return v;
            }
            if (tok.Kind != Tok::Integer) Expected("integer for " + path);
            FLex.Next();
            return tok.Int;
        case TTypeKind::tkFloat:
            if (tok.Kind == Tok::Integer) { FLex.Next(); return static_cast<double>(tok.Int); }
            if (tok.Kind != Tok::Float) Expected("number for " + path);
            FLex.Next();
            return tok.Float;
        case TTypeKind::tkString:
            return ExpectString(path);
        case TTypeKind::tkBoolean:
            if (IsKeyword("True")) { FLex.Next(); return true; }
            if (IsKeyword("False")) { FLex.Next(); return false; }
            Expected("True or False for " + path);
        case TTypeKind::tkEnumeration: {
            if (tok.Kind != Tok::Ident) Expected("identifier for " + path);
            const int ord = prop.Enum->Find(tok.Text);
            if (ord < 0) throw EReadError(tok.Line, "'" + tok.Text + "' is not a value of " + prop.Enum->TypeName);
            FLex.Next();
            return static_cast<std::int64_t>(ord);
        }
        case TTypeKind::tkSet: {
            ExpectSymbol("[");
            std::uint64_t bits = 0;
            while (!IsSymbol("]")) {
                const int line = FLex.Current().Line;
                const std::string item = ExpectIdent("set element for " + path);
                const int ord = prop.Enum->Find(item);
                if (ord < 0 || ord >= 64) throw EReadError(line, "'" + item + "' is not a value of " + prop.Enum->TypeName);
                bits |= std::uint64_t(1) << ord;
                if (IsSymbol(",")) FLex.Next();
                else if (!IsSymbol("]")) Expected("',' or ']'");
            }
            FLex.Next();
            return static_cast<std::int64_t>(bits);
        }
        case TTypeKind::tkStrings: {
            ExpectSymbol("(");
            std::vector<std::string> lines;
            while (!IsSymbol(")")) lines.push_back(ExpectString(path));
            FLex.Next();
            return lines;
        }
        case TTypeKind::tkBinary:
            if (!IsSymbol("{")) Expected("'{' for " + path);
            return FLex.ReadBinary();
        case TTypeKind::tkComponent: {
            const std::string name = ExpectIdent("component name for " + path);
            if (SameText(name, "nil")) return static_cast<TComponent*>(nullptr);
            FFixups.push_back({&target, &prop, name, tok.Line});
            return std::monostate{};
        }
        case TTypeKind::tkMethod: {
            const std::string name = ExpectIdent("method name for " + path);
            if (SameText(name, "nil")) return std::any();
            const TMethodInfo* m = FRoot.ClassType().FindMethod(name);
            if (!m) throw EReadError(tok.Line, "method " + name + " not found in " + FRoot.ClassName());
            return m->Bind(FRoot);
        }
        case TTypeKind::tkClass:
            throw EReadError(tok.Line, "property " + path + " is an object; set its properties instead");
        }
        Expected("value");
    }

    void ResolveFixups() {
        for (const Fixup& f : FFixups) {
            const std::size_t dot = f.Name.find('.');
            if (dot != std::string::npos) {
                // Another form's component ("MainSetupDlg.GoldBtn"): a form that does not
                // exist (yet) leaves the reference empty, as when that form is not loaded.
                if (TComponent* c = FindGlobalComponent(f.Name.substr(0, dot), f.Name.substr(dot + 1)))
                    Assign(*f.Target, *f.Prop, c, f.Prop->Name, f.Line);
                continue;
            }
            TComponent* c = SameText(f.Name, FRoot.Name()) ? &FRoot : FRoot.FindComponent(f.Name);
            if (!c) throw EReadError(f.Line, "component " + f.Name + " not found");
            Assign(*f.Target, *f.Prop, c, f.Prop->Name, f.Line);
        }
    }

    static TComponent* FindGlobalComponent(const std::string& formName, const std::string& name) {
        TApplication* app = Application();
        if (!app) return nullptr;
        for (int i = 0; i < app->ComponentCount(); ++i)
            if (SameText(app->Components(i)->Name(), formName)) return app->Components(i)->FindComponent(name);
        return nullptr;
    }

    Lexer FLex;
    TComponent& FRoot;
    std::vector<TComponent*> FCreated;
    std::vector<TComponent*> FLoaded;
    std::vector<Fixup> FFixups;
};

}  // namespace

void ReadRootComponent(const std::string& text, TComponent& root) { Reader(text, root).ReadRoot(true); }

TComponent* ReadComponent(const std::string& text, TComponent* owner) {
    const std::string className = Reader::TopClassName(text);
    const TClassInfo* cls = FindClass(className);
    if (!cls || !cls->Create) throw EReadError(1, "class " + className + " not found");
    TComponent* root = cls->Create(owner);
    try {
        Reader(text, *root).ReadRoot(false);
    } catch (...) {
        root->Free();
        throw;
    }
    return root;
}

}  // namespace rt

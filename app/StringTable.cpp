// The string table; see StringTable.h.
#include "app/StringTable.h"

#include <map>

#include "app/SetupRoutines.h"
#include "engine/SetupState.h"
#include "runtime/Resources.h"
#include "runtime/SysUtils.h"

namespace {

const std::map<int, std::string>& Table() {
    static const std::map<int, std::string> table = [] {
        std::map<int, std::string> t;
        for (const std::string& line : rt::SplitLines(rt::FindResource("StringTable.txt"))) {
            const std::size_t tab = line.find('\t');
            int id = 0;
            if (tab == std::string::npos || !rt::TryStrToInt(line.substr(0, tab), id)) continue;
            t[id] = line.substr(tab + 1);
        }
        return t;
    }();
    return table;
}

TStringSource& Source() {
    static TStringSource source;
    return source;
}

}  // namespace

bool CompiledInString(int id, std::string& text) {
    auto it = Table().find(id);
    if (it == Table().end()) return false;
    text = it->second;
    return true;
}

void SetStringSource(TStringSource source) { Source() = std::move(source); }

std::string LoadStr(int id) {
    std::string text;
    const bool found = Source() ? Source()(id, text) : CompiledInString(id, text);
    return found ? text : std::string();
}

// Lives with the table so that the control kit, below the application, can use it.
int SetupRoutines::LocalisedId(int base) { return base + SetupState().LanguageIndex; }

std::string LocalisedString(int base) { return LoadStr(SetupRoutines::LocalisedId(base)); }

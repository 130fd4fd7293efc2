// The built-in string table; see StringTable.h.
#include "app/StringTable.h"

#include <map>

#include "app/SetupRoutines.h"
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

}  // namespace

std::string LoadStr(int id) {
    auto it = Table().find(id);
    return it == Table().end() ? std::string() : it->second;
}

std::string LocalisedStr(int base) { return LoadStr(SetupRoutines::LocalisedId(base)); }

// The table of built-in files; see Resources.h.
#include "runtime/Resources.h"

#include <map>

#include "runtime/SysUtils.h"

namespace rt {

namespace {

std::map<std::string, std::string>& Table() {
    static std::map<std::string, std::string> table;
    return table;
}

}  // namespace

std::string FindResource(const std::string& name) {
    auto it = Table().find(UpperCase(name));
    return it == Table().end() ? std::string() : it->second;
}

bool ResourceExists(const std::string& name) { return Table().count(UpperCase(name)) != 0; }

void RegisterResource(const std::string& name, const std::string& data) { Table()[UpperCase(name)] = data; }

}  // namespace rt

// String lists; see StringList.h.
#include "runtime/StringList.h"

#include <algorithm>

#include "runtime/TypInfo.h"

namespace rt {

const TClassInfo& TStrings::StaticClass() {
    static const TClassInfo info{"TStrings", &TPersistent::StaticClass(), {}, {}, {}};
    return info;
}

const TClassInfo& TStringList::StaticClass() {
    static const TClassInfo info{"TStringList", &TStrings::StaticClass(), {}, {}, {}};
    return info;
}

void TStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
}

const std::string& TStrings::Strings(int index) const {
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].Text;
}

void TStrings::SetStrings(int index, const std::string& value) {
    CheckIndex(index);
    FItems[static_cast<std::size_t>(index)].Text = value;
    Changed();
}

TObject* TStrings::Objects(int index) const {
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].Object;
}

void TStrings::SetObjects(int index, TObject* obj) {
    CheckIndex(index);
    FItems[static_cast<std::size_t>(index)].Object = obj;
    Changed();
}

int TStrings::Add(const std::string& s) {
    Insert(Count(), s);
    return Count() - 1;
}

int TStrings::AddObject(const std::string& s, TObject* obj) {
    const int i = Add(s);
    FItems[static_cast<std::size_t>(i)].Object = obj;
    return i;
}

void TStrings::Insert(int index, const std::string& s) {
    if (index < 0 || index > Count()) throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
    FItems.insert(FItems.begin() + index, Item{s, nullptr});
    Changed();
}

void TStrings::Delete(int index) {
    CheckIndex(index);
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStrings::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

void TStrings::Exchange(int a, int b) {
    CheckIndex(a);
    CheckIndex(b);
    std::swap(FItems[static_cast<std::size_t>(a)], FItems[static_cast<std::size_t>(b)]);
    Changed();
}

void TStrings::AddStrings(const TStrings& other) {
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i) AddObject(other.Strings(i), other.Objects(i));
    EndUpdate();
}

int TStrings::IndexOf(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(FItems[static_cast<std::size_t>(i)].Text, s)) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& t = FItems[static_cast<std::size_t>(i)].Text;
        const std::size_t eq = t.find('=');
        if (eq != std::string::npos && SameText(std::string_view(t).substr(0, eq), name)) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* obj) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].Object == obj) return i;
    return -1;
}

std::string TStrings::Names(int index) const {
    const std::string& t = Strings(index);
    const std::size_t eq = t.find('=');
    return eq == std::string::npos ? std::string() : t.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const {
    const std::string& t = Strings(index);
    const std::size_t eq = t.find('=');
    return eq == std::string::npos ? std::string() : t.substr(eq + 1);
}

std::string TStrings::Values(const std::string& name) const {
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(const std::string& name, const std::string& value) {
    const int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i < 0) {
        Add(name + "=" + value);
    } else {
        SetStrings(i, name + "=" + value);
    }
}

std::string TStrings::Text() const {
    std::string r;
    for (const auto& item : FItems) r += item.Text + "\r\n";
    return r;
}

void TStrings::SetText(const std::string& text) { SetLines(SplitLines(text)); }

std::vector<std::string> TStrings::ToVector() const {
    std::vector<std::string> r;
    r.reserve(FItems.size());
    for (const auto& item : FItems) r.push_back(item.Text);
    return r;
}

void TStrings::SetLines(const std::vector<std::string>& lines) {
    BeginUpdate();
    Clear();
    for (const auto& l : lines) Add(l);
    EndUpdate();
}

void TStrings::Assign(const TPersistent& source) {
    if (!source.InheritsFrom(TStrings::StaticClass())) return TPersistent::Assign(source);
    const auto& other = static_cast<const TStrings&>(source);
    if (&other == this) return;
    BeginUpdate();
    Clear();
    AddStrings(other);
    EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Strings(i) != other.Strings(i)) return false;
    return true;
}

void TStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Changed();
    }
}

void TStrings::Changed() {
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    OnChange(this);
}

TStringList::TStringList(std::initializer_list<std::string> lines) {
    for (const auto& l : lines) TStrings::Insert(Count(), l);
}

void TStringList::SetSorted(bool value) {
    if (value && !FSorted) Sort();
    FSorted = value;
}

void TStringList::Sort() {
    std::stable_sort(FItems.begin(), FItems.end(), [](const Item& a, const Item& b) { return CompareText(a.Text, b.Text) < 0; });
    Changed();
}

bool TStringList::Find(const std::string& s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = CompareText(FItems[static_cast<std::size_t>(mid)].Text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != TDuplicates::dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TStringList::Add(const std::string& s) {
    if (!FSorted) return TStrings::Add(s);
    int index = 0;
    if (Find(s, index)) {
        if (FDuplicates == TDuplicates::dupIgnore) return index;
        if (FDuplicates == TDuplicates::dupError) throw EStringListError("String list does not allow duplicates");
    }
    TStrings::Insert(index, s);
    return index;
}

void TStringList::Insert(int index, const std::string& s) {
    if (FSorted) throw EStringListError("Operation not allowed on sorted list");
    TStrings::Insert(index, s);
}

int TStringList::IndexOf(const std::string& s) const {
    if (!FSorted) return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

}  // namespace rt

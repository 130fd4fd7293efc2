// String lists: ordered lines with optional attached objects, "name=value" access and
// case-insensitive lookup. Install descriptions keep orders, entries and texts in them.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "runtime/Classes.h"

namespace rt {

class TStrings : public TPersistent {
    RT_CLASS(TStrings, TPersistent)
public:
    TStrings() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& Strings(int index) const;
    void SetStrings(int index, const std::string& value);
    TObject* Objects(int index) const;
    void SetObjects(int index, TObject* obj);

    virtual int Add(const std::string& s);
    int AddObject(const std::string& s, TObject* obj);
    virtual void Insert(int index, const std::string& s);
    // Deleting the first line costs the same however long the list is.
    void Delete(int index);
    void Clear();
    void Exchange(int a, int b);
    void AddStrings(const TStrings& other);

    // Case-insensitive, first match; -1 when absent.
    virtual int IndexOf(const std::string& s) const;
    int IndexOfName(const std::string& name) const;
    int IndexOfObject(const TObject* obj) const;

    // "name=value" lines: the name is the text before the first '='.
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(const std::string& name) const;
    // An empty value removes the line, as the framework has always done; a new name is
    // appended.
    void SetValue(const std::string& name, const std::string& value);

    // Lines joined with CR LF, each followed by one; setting splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(const std::string& text);
    std::vector<std::string> ToVector() const;
    void SetLines(const std::vector<std::string>& lines);

    void Assign(const TPersistent& source) override;
    bool Equals(const TStrings& other) const;

    // Batched changes notify once, at the outermost EndUpdate.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    TNotifyEvent OnChange;

protected:
    struct Item {
        std::string Text;
        TObject* Object = nullptr;
    };
    virtual void Changed();
    void CheckIndex(int index) const;
    // A deque: a list of a hundred thousand names grows without a copy of itself, and one
    // worked through from its first line gives its memory back as it goes.
    std::deque<Item> FItems;

private:
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class EStringListError : public Exception {
public:
    using Exception::Exception;
};

// A string list that may keep itself sorted (case-insensitive).
class TStringList : public TStrings {
    RT_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }

    int Add(const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    int IndexOf(const std::string& s) const override;
    void Sort();
    // Binary search of a sorted list; index is where s is or would go.
    bool Find(const std::string& s, int& index) const;

private:
    bool FSorted = false;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
};

}  // namespace rt

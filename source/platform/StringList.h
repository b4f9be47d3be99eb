// An ordered list of texts with name=value lookup, compared without regard to case.
#pragma once
#include <string>
#include <vector>

class TStringList {
public:
    int Count() const { return int(items_.size()); }
    const std::string& operator[](int i) const { return items_.at(size_t(i)); }
    std::string& operator[](int i) { return items_.at(size_t(i)); }
    int Add(const std::string& s);
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear() { items_.clear(); }
    int IndexOf(const std::string& s) const;

    // "name=value" lines.
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    int IndexOfName(const std::string& name) const;
    std::string Values(const std::string& name) const;  // empty when the name is missing
    void SetValue(const std::string& name, const std::string& value);

    std::string Text() const;  // lines joined with CR LF, a CR LF after each
    void SetText(const std::string& text);
    bool LoadFromFile(const std::string& fileName);
    // Raises EOSError-style Exception "Cannot create file <name>" when the file cannot be written.
    void SaveToFile(const std::string& fileName) const;

    std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::string>::const_iterator end() const { return items_.end(); }

private:
    std::vector<std::string> items_;
};

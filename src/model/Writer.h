// The component-stream writer: records of a class name, a component name,
// tagged property values in table order and child records, into a byte buffer.
#pragma once

#include "core/Progress.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/ClassInfo.h"
#include "model/StreamFormat.h"

namespace tsb {

class TWriter {
public:
    explicit TWriter(TBytes& out) : FOut(out) {}

    // References and method names are formed against the root: a component
    // it owns is written by its plain name, and only the root's published
    // methods are written.
    TComponent* Root = nullptr;
    // Stepped with (children written, children) of the outermost container
    // as its children are written; what it raises stops the writing.
    TProgress* Progress = nullptr;

    void WriteSignature();
    // A record under the component's own name, or under the given one (the
    // work area is written unnamed in files).
    void WriteComponent(TComponent* component);
    void WriteComponent(TComponent* component, const std::string& name);
    // The start of a record: class name, component name, the properties when
    // asked for, and the end of the property list. The caller writes the
    // child records and the end of the child list.
    void WriteRecordHead(TComponent* component, const std::string& name, bool properties = true);
    // False for components whose records are left out: classes without a
    // table (the snap grid) and unselected elements.
    static bool WritesRecord(const TComponent* component);

    // The values.
    void WriteValue(TValueType type);
    // The smallest of Int8, Int16, Int32 (Int64 beyond 32 bits).
    void WriteInteger(std::int64_t value);
    void WriteBoolean(bool value);
    // A short string without tag, cut to its first 255 bytes.
    void WriteStr(std::string_view text);
    // A string value: Windows-1252 as String or LString when every character
    // has a code there, else WString.
    void WriteString(std::string_view utf8);
    // False, True, nil and Null go as their bare tags.
    void WriteIdent(std::string_view ident);
    void WriteBinary(std::span<const std::uint8_t> data);
    void WriteListEnd() { WriteValue(vaNull); }

private:
    void WriteProperties(TPersistent& instance, const TClassInfo& info, const std::string& prefix);
    void WriteProperty(TPersistent& instance, const TPropInfo& prop, const std::string& prefix);
    // The entry's name: the dotted prefix and the property's name.
    void WritePropName(const std::string& prefix, const TPropInfo& prop);
    void WriteOrdinal(const TPropInfo& prop, std::int64_t value);
    std::string ReferenceName(const TComponent* component) const;
    void WriteUInt32(std::uint32_t v);
    void WriteBytes(const void* data, std::size_t size);

    TBytes& FOut;
    const TClassInfo* FRootClass = nullptr;
};

} // namespace tsb

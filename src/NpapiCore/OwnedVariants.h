#pragma once
// Browser values this code owns. A value the browser filled in (a call's result) or one we built for it
// (an argument) holds memory or an object reference of the browser's; an owner gives it back through the
// browser exactly once, when the owner goes, whatever way the call ends.

#include <cstdint>
#include <vector>

#include "NpapiBrowserHost.h"
#include "npapi/NPAPI.h"

namespace PF {
namespace Npapi {

// One value; void until filled.
class OwnedVariant {
 public:
  explicit OwnedVariant(const NpapiBrowserHost& host) : m_host(host) { VOID_TO_NPVARIANT(m_value); }
  ~OwnedVariant() { m_host.ReleaseVariantValue(&m_value); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;

  // For the browser to fill in or read.
  NPVariant* get() { return &m_value; }
  // Hands the value over: the receiver now owns it and this owner holds void.
  NPVariant detach() {
    NPVariant value = m_value;
    VOID_TO_NPVARIANT(m_value);
    return value;
  }

 private:
  const NpapiBrowserHost& m_host;
  NPVariant m_value;
};

// A call's arguments; each void until filled.
class VariantArray {
 public:
  VariantArray(const NpapiBrowserHost& host, size_t count) : m_host(host), m_values(count) {
    for (NPVariant& value : m_values) VOID_TO_NPVARIANT(value);
  }
  ~VariantArray() {
    for (NPVariant& value : m_values) m_host.ReleaseVariantValue(&value);
  }
  VariantArray(const VariantArray&) = delete;
  VariantArray& operator=(const VariantArray&) = delete;

  NPVariant* data() { return m_values.empty() ? nullptr : m_values.data(); }
  NPVariant& operator[](size_t i) { return m_values[i]; }
  uint32_t size() const { return static_cast<uint32_t>(m_values.size()); }
  // Gives one value back now, leaving void in its place for the next.
  void release(size_t i) {
    m_host.ReleaseVariantValue(&m_values[i]);
    VOID_TO_NPVARIANT(m_values[i]);
  }

 private:
  const NpapiBrowserHost& m_host;
  std::vector<NPVariant> m_values;
};

}  // namespace Npapi
}  // namespace PF

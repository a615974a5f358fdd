#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace pradima {

// Visual Basic run-time error numbers the engine raises.
enum class VbError : int32_t {
  InvalidArgument = 5,
  Overflow = 6,
  SubscriptOutOfRange = 9,
  TypeMismatch = 13,
  ObjectNotSet = 91,
  ObjectRequired = 424,
  ApplicationDefined = 1004,
};

// INET_E_DOWNLOAD_FAILURE: what the platform's HTTP component raises for a failed transfer.
inline constexpr int32_t kDownloadFailure = static_cast<int32_t>(0x800C0008u);

// The one error type of the engine. It carries the HRESULT a macro sees
// (0x800A0000 plus the Visual Basic error number for the engine's own errors,
// the original value for errors raised by the spreadsheet application) and a
// description that says what went wrong and where.
class Error : public std::runtime_error {
 public:
  Error(VbError number, const std::string& description)
      : std::runtime_error(description), hresult_(static_cast<int32_t>(0x800A0000u | static_cast<uint32_t>(number))) {}
  Error(int32_t hresult, const std::string& description) : std::runtime_error(description), hresult_(hresult) {}

  int32_t hresult() const noexcept { return hresult_; }
  // The Visual Basic error number when the HRESULT is one, else the HRESULT itself.
  int32_t number() const noexcept {
    const auto h = static_cast<uint32_t>(hresult_);
    return (h & 0xFFFF0000u) == 0x800A0000u ? static_cast<int32_t>(h & 0xFFFFu) : hresult_;
  }
  const char* description() const noexcept { return what(); }

  // The same error with its description prefixed by where it happened.
  Error WithContext(const std::string& where) const { return Error(hresult_, where + ": " + what()); }

 private:
  int32_t hresult_;
};

}  // namespace pradima

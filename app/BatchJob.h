// Batch job statements: the decoder of "dpop=" and "pref=" operands, shared
// by the batch step loop and the command-line front end.
#pragma once

#include "app/Controls.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorlin {

// Statement error texts; the batch adds the flush suffix to them.
inline constexpr const char* ErrInvalidDpop = "Invalid DpOpt Option Arguments";
inline constexpr const char* ErrInvalidPref = "Invalid Pref=Keyword or Keyword Operand Value(s)";
inline constexpr const char* ErrInvalidKeyword = "Invalid Keyword";
inline constexpr const char* ErrInvalidStatement = "Invalid Statement";

/// Decoder state that lives for a whole batch.
struct TBatchState {
  bool CcolSeen = false;    ///< a "ccol" statement set the New ranges; later ones set the Old ranges
  bool FsclBuffers = false; ///< "fscl" was given: full-source output buffers exist
};

/// Thrown when an operand cannot be decoded at all (a "dps" filter without
/// its string); the batch ends with its parameter-exception message.
class TParmException : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

/// Applies the operand of a "dpop=" statement to the option controls.
/// Returns an empty string, or the error text.
std::string DecodeDpop(TAppState& app, std::string_view operand);

/// Applies the operand of a "pref=" statement to the option controls and the
/// batch options. Returns an empty string, or the error text.
std::string DecodePref(TAppState& app, TBatchState& batch, std::string_view operand);

/// The listing type of an "ltyp=" operand: lower case with its first letter
/// in upper case ("long" gives "Long").
std::string ListTypeText(std::string_view operand);

} // namespace quorlin

#pragma once

// Option values of the connection, command and record set operations. The
// engine only knows a client cursor and text commands; the other values are
// accepted so that callers can state what they mean.
namespace engine {

inline constexpr int adOptionUnspecified = -1;
inline constexpr int adCmdText = 1;
inline constexpr int adUseClient = 3;
inline constexpr int adOpenDynamic = 2;
inline constexpr int adLockOptimistic = 3;

inline constexpr int adStateClosed = 0;
inline constexpr int adStateOpen = 1;

} // namespace engine

#pragma once
// The USB evaluation board library. The program binds both functions at run time by their
// compiler-decorated names, which encode the argument types, so they keep C++ linkage and
// exactly these signatures.

#if defined(__GNUC__)
#define BOARDLINK_API __attribute__((visibility("default")))
#else
#define BOARDLINK_API
#endif

// Downloads the board firmware from the Intel HEX file at `path` (zero-terminated).
// Above 0: the board is ready; 0: no board, or the file is missing or malformed.
BOARDLINK_API short LoadFirmWare(unsigned char* path);

// One vendor request: `direction` 1 moves `count` bytes from the board into `buffer`, 0 from
// `buffer` to the board. 0 is success.
BOARDLINK_API short VendorIORequest(short request, int value, int index, short direction,
                                    short count, unsigned char* buffer);

// Statuses of a failed request.
inline constexpr short kBoardLinkNoBoard = 4;   // the board is not attached
inline constexpr short kBoardLinkInjected = 5;  // a failure asked for by QUORVEX_SIM_FAIL_*

#pragma once
/* The SMBus library: register access to chips on the machine's own SMBus. Both the program
 * and the hwsense library bind these three functions at run time by name, so they carry C
 * linkage; the typedefs are the shapes the callers look them up as.
 *
 * Addresses: after DetectSmbus(0), and before any DetectSmbus call, an address is the 8-bit
 * form (the 7-bit address shifted left, even); after DetectSmbus(1) it is the 7-bit form.
 * Where no chip answers, a read returns 0xFF. */

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define SMBUS_API __attribute__((visibility("default")))
#else
#define SMBUS_API
#endif

/* Chooses the address form (0: 8-bit, 1: 7-bit). Returns 1 when an SMBus is there, else 0. */
SMBUS_API int DetectSmbus(int flag);
/* The register's byte, 0..255; 0xFF where no chip answers. */
SMBUS_API int ReadSmbus(int address, int reg);
/* 0 when the chip took the byte, -1 when nothing answered. */
SMBUS_API int WriteSmbus(int address, int reg, int value);

typedef int (*DetectSmbusFunction)(int flag);
typedef int (*ReadSmbusFunction)(int address, int reg);
typedef int (*WriteSmbusFunction)(int address, int reg, int value);

#ifdef __cplusplus
}
#endif

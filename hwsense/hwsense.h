/* Monitoring interface of the chip at SMBus address 0x2E, for other programs.
 *
 * Call Initialise first and Cleanup when done. Until Initialise has returned 1, and again after
 * Cleanup, every other function returns 0 without touching the bus. Every function returns a
 * 32-bit signed integer; conversions truncate toward zero. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Loads the SMBus library and binds it: 1 ready; 30 library not found; 31, 32, 33 the library
 * lacks DetectSmbus, ReadSmbus or WriteSmbus. */
int32_t Initialise(void);
/* Releases the SMBus library that Initialise loaded; always 1. */
int32_t Cleanup(void);

/* 3 when the chip's identification byte (register 0x3E) reads 0x41, else 0. */
int32_t Get_SuperioId(void);
/* The chip's identifying number 5071 when register 0x3D reads 0x75, else 0. */
int32_t Get_SuperioSn(void);

/* Temperatures in degrees C, -128 to 127. */
int32_t Get_CPUTemp(void);
int32_t Get_SYSTemp(void);

/* Fan speeds in rpm; 0 when the fan stands still. */
int32_t Get_CPUFan_Speed(void);
int32_t Get_SYSFan_Speed(void);
int32_t Get_PWRFan_Speed(void);

/* Put a PWM output under manual control at percent (0 to 100) of full duty: 1 when the duty reads
 * back as written, 0 otherwise or when percent lies outside 0 to 100 (then nothing is written). */
int32_t Set_CPUFan_Speed(int32_t percent);
int32_t Set_SYSFan_Speed(int32_t percent);
int32_t Set_PWRFan_Speed(int32_t percent);

/* Set bits 7:6 of register 0x7B to 01, 10 or 11: 1 when they read back so, else 0. */
int32_t Set_Low(void);
int32_t Set_High(void);
int32_t Set_Auto(void);

#ifdef __cplusplus
}
#endif

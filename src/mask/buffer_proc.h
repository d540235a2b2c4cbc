// Byte substitution in place through the encode table or its inverse.
#ifndef KORVEL_MASK_BUFFER_PROC_H
#define KORVEL_MASK_BUFFER_PROC_H

#include <korvel/korvel.h>

#include <cstdint>

class CBufferProc final : public IBufferProc {
 public:
  // Builds the decode table: decodeTable[v] is the index at which the encode table holds v.
  CBufferProc();

  bool Encode(unsigned char* buffer, unsigned int length) override;
  bool Decode(unsigned char* buffer, unsigned int length) override;

  uint8_t decodeTable[256];
};

#endif

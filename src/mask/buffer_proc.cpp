#include "mask/buffer_proc.h"

#include "mask/encode_table.h"

namespace {

bool Substitute(const uint8_t* table, unsigned char* buffer, unsigned int length) {
  if (buffer == nullptr || length == 0) return false;
  for (unsigned int i = 0; i < length; ++i) buffer[i] = table[buffer[i]];
  return true;
}

}  // namespace

CBufferProc::CBufferProc() : decodeTable{} {
  for (int value = 0; value < 256; ++value) {
    for (int index = 0; index < 256; ++index) {
      if (g_encodeTable[index] == value) decodeTable[value] = static_cast<uint8_t>(index);
    }
  }
}

bool CBufferProc::Encode(unsigned char* buffer, unsigned int length) {
  return Substitute(g_encodeTable, buffer, length);
}

bool CBufferProc::Decode(unsigned char* buffer, unsigned int length) {
  return Substitute(decodeTable, buffer, length);
}

// The fifteen C exports, each a one-line forwarder into the cipher code.
#include "cipher/ZSCrypt.h"

#include "cipher/Rc4.h"
#include "cipher/Rc5.h"
#include "cipher/Rc6.h"
#include "cipher/Rijndael.h"

using namespace cipher;

int RC4_CreateKey(uint8_t* k, uint32_t n, uint8_t* o) {
  return Rc4CreateKey(k, n, o);
}
int RC4_Encrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rc4Crypt(d, n, o);
}
int RC4_Decrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rc4Crypt(d, n, o);
}
int RC5_CreateKey(uint8_t* k, uint32_t n, uint8_t* o) {
  return Rc5CreateKey(k, n, o);
}
int RC5_Encrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rc5Encrypt(d, n, o);
}
int RC5_Decrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rc5Decrypt(d, n, o);
}
int RC6_CreateKey(uint8_t* k, uint32_t n, uint8_t* o) {
  return Rc6CreateKey(k, n, o);
}
int RC6_Encrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rc6Encrypt(d, n, o);
}
int RC6_Decrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rc6Decrypt(d, n, o);
}
int RJ128_CreateKey(uint8_t* k, uint32_t n, uint8_t* o) {
  return Rj128CreateKey(k, n, o);
}
int RJ128_Encrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rj128Encrypt(d, n, o);
}
int RJ128_Decrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rj128Decrypt(d, n, o);
}
int RJ256_CreateKey(uint8_t* k, uint32_t n, uint8_t* o) {
  return Rj256CreateKey(k, n, o);
}
int RJ256_Encrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rj256Encrypt(d, n, o);
}
int RJ256_Decrypt(uint8_t* d, uint32_t n, uint8_t* o) {
  return Rj256Decrypt(d, n, o);
}

// The sample tree shared by the reader, writer and text tests.
#include "configobject/proptree/Value.h"
#include "configobject/proptree/tests/TestStreams.h"

namespace proptree::test {

Node* SampleTree() {
  auto P = [](const void* p) { return reinterpret_cast<uintptr_t>(p); };
  Node* root = CreateNode(nullptr, 0x01080001);
  SetValue(AddProperty(root, 0x28010001), P("Conduit"), 0);
  Node* show = CreateNode(root, 0x0A010002);
  SetValue(&show->own, 1, 0);
  Node* wait = CreateNode(root, 0x08010003);
  SetValue(&wait->own, 30, 0);
  SetValue(AddProperty(wait, 0x28010001), P("During <> seconds"), 0);
  Node* action = CreateNode(root, 0x07010005);
  SetValue(&action->own, 2, 0);
  for (uint32_t i = 0; i < 3; ++i) CreateNode(action, 0x01010010 + i);
  Node* dirs = CreateNode(root, 0x01010006);
  Node* zepp = CreateNode(dirs, 0x28010006);
  SetValue(&zepp->own, P("C:\\Program Files\\Quillmark\\ZEPPalm"), 0);
  CreateNode(dirs, 0x28010007);  // no text
  Node* empty = CreateNode(dirs, 0x28010008);
  SetValue(&empty->own, P(""), 0);
  Node* wide = CreateNode(root, 0x29010009);
  SetValue(&wide->own, P(u"\u0417\u0430\u043f\u0438\u0441\u044c \xd83d\xde00"), 0);
  Node* urls = CreateNode(root, 0x68010002);
  SetArrayStep(&urls->own, 4);
  SetValue(&urls->own, P("http://update.example/palm/"), 0);
  SetValue(&urls->own, P(""), 1);
  SetValue(&urls->own, P("http://mirror.example/"), 0);
  Node* numbers = CreateNode(root, 0x01010020);
  const uint8_t u8s[] = {1, 2, 255};
  SetValue(&CreateNode(numbers, 0x42010021)->own, P(u8s), 3);
  const uint32_t u32s[] = {0xDEADBEEF, 0, 7};
  SetValue(&CreateNode(numbers, 0x45010022)->own, P(u32s), 12);
  const uint32_t flags[] = {1, 0, 0, 1, 1, 0, 1, 0, 1};
  SetValue(&CreateNode(numbers, 0x4A010023)->own, P(flags), sizeof flags);
  const uint64_t big = 0x0123456789ABCDEFull;
  SetValue(&CreateNode(numbers, 0x0B010024)->own, P(&big), 0);
  const uint8_t huge[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  SetValue(&CreateNode(numbers, 0x0D010025)->own, P(huge), 0);
  SetValue(&CreateNode(numbers, 0x05010026)->own, 0x80000001u, 0);
  const uint8_t blob[] = {0, 0xFF, 0x10};
  SetValue(&CreateNode(numbers, 0x2A010027)->own, P(blob), 3);
  Node* blocks = CreateNode(numbers, 0x6A010028);
  SetValue(&blocks->own, P(blob), 2);
  SetValue(&blocks->own, P(blob), 3);
  Node* wides = CreateNode(numbers, 0x69010029);
  SetValue(&wides->own, P(u"one"), 0);
  SetValue(&wides->own, P(u"two"), 0);
  CreateNode(numbers, 0x4B01002A);  // an empty 64-bit array
  return root;
}

}  // namespace proptree::test

#pragma once
// The character encodings of input and output documents, shared by the decoder, the writer
// and the document object.
namespace sorvanta::xml {

enum TCharEncoding { ceUnknown, ceISO88591, ceUTF8, ceUTF16LE, ceUTF16BE };
enum TLineBreakMode { lbmDefault };

}  // namespace sorvanta::xml

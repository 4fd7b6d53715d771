#pragma once
// Documents are built in large arena pages and dropped whole when the next file loads. By
// default the C library returns big blocks to the system at once and asks for fresh pages on
// the next load, and the page faults of those fresh pages cost more than parsing the file.
// The programs call this once at start so freed blocks stay in the heap for reuse.
namespace sorvanta::xml {

// Keeps blocks of up to 256 MiB in the heap and trims the heap only when 1 GiB lies unused
// at its top. No effect where the C library offers no such setting.
void retainFreedMemory();

}  // namespace sorvanta::xml

// The fuzz harnesses: one entry per kind of untrusted input. Each takes arbitrary bytes, runs
// them through the same code a user's run takes, and checks what must always hold (a load
// either succeeds or says why; what was opened saves and opens again; what was read writes back
// to the same bytes). A broken rule aborts, so a fuzzer reports it like a crash.
//
// The entries are plain functions: the libFuzzer programs under fuzz/ call them, and the unit
// tests replay every saved input through them (tests/FuzzRegressionTest.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexor::fuzz {

// A whole load of a server log (the bytes as a log file).
void LoadServerLog(const uint8_t* data, size_t size);
// A whole load of a client console log (the bytes after the line that marks one).
void LoadClientLog(const uint8_t* data, size_t size);
// A load with custom variables defined: definition lines, a line "--", then the log (see
// VariableDefinitions.h for the lines).
void LoadLogWithVariables(const uint8_t* data, size_t size);
// Opening a data file.
void OpenDataFile(const uint8_t* data, size_t size);
// Reading a variable file, as a client set and as a server set.
void ReadVariableFile(const uint8_t* data, size_t size);
// Reading the settings file.
void ReadSettingsFile(const uint8_t* data, size_t size);

struct Harness {
  const char* name;  // the folder name of its inputs
  void (*run)(const uint8_t* data, size_t size);
};

// Every harness, by name.
const std::vector<Harness>& Harnesses();
const Harness* FindHarness(std::string_view name);

}  // namespace vexor::fuzz

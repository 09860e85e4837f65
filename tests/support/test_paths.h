#pragma once
// Where the tests find the program and their data. The build writes the values
// into a unit of their own, so that a clone at another path recompiles only that.
namespace test_paths {
extern const char* const program;           // the scenario-compiler executable
extern const char* const shared_vectors;    // the conformance vectors
extern const char* const bad_inputs;        // tests/bad_inputs
extern const char* const format_reference;  // docs/format.md
extern const char* const source_root;       // the checkout
}  // namespace test_paths

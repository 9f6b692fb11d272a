#pragma once

#include <string>
#include <vector>

// Options the benchmarks take before Google Benchmark reads the rest of the command line.

// Takes --name=value out of the arguments; false when it is not there.
bool TakeOption(int& argc, char** argv, const char* name, std::string& value);
// Takes --name=N out of the arguments: a number from 1 to maximum. True when it is not there (the value stays);
// false when it is there but not such a number.
bool TakeCount(int& argc, char** argv, const char* name, int maximum, int& value);
// The smallest of the repetitions' figures, as a statistic beside the median.
double Minimum(const std::vector<double>& values);

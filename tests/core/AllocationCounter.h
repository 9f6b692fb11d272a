#pragma once

// Counts the allocations made through operator new between Start and Stop, on any thread.
void StartCountingAllocations();
// The number counted since Start.
int StopCountingAllocations();

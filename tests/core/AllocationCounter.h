#pragma once

// Counts the allocations made through operator new between Start and Stop, on any thread.
void StartCountingAllocations();
// The number counted since Start; stops a failure asked for with FailAllocation too.
int StopCountingAllocations();
// Counts from now on as Start does, and makes the nth allocation counted (1: the next one) throw std::bad_alloc,
// as a machine whose memory ran out at that moment would.
void FailAllocation(int n);

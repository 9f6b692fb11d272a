#pragma once

class TiXmlElement;

// A decimal integer: optional blanks, an optional sign, at least one digit, optional blanks, nothing else, and
// within the range of a 32-bit int. Anything else is not a number (false, value untouched).
bool ParseDecimal(const char* text, int& value);

// The attribute read as ParseDecimal reads it; false when it is missing or not a number.
bool ReadDecimalAttribute(const TiXmlElement& element, const char* name, int& value);

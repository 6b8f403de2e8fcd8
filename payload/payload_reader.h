#pragma once
// Reading the program's own raw-data (RCDATA) resources: payload items and
// plain templates. Resource names are matched without regard to case.

#include <cstdint>
#include <string>

namespace pellion {

// Reads one payload item: empties `fileName`, makes the payload key (which
// sets the process-wide generator to the build's seed and draws 50 times),
// finds the resource and decodes it as DecodePayloadItem (payload_item.h)
// describes, raising its errors and, for a resource that does not exist,
// EResNotFound "Resource <name> not found". The resource is read where the
// loader mapped it and unscrambled piece by piece on its way into zlib.
void ReadPayloadItem(const std::string& resourceName, std::string& fileName, int32_t& dateTime,
                     std::string& content);

// The whole of a raw resource, as stored (neither scrambled nor compressed):
// the DOSBox configuration template. EResNotFound when it does not exist.
std::string ReadRawResource(const std::string& name);

}  // namespace pellion

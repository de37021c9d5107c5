#pragma once
// Client of the simulator add-on's position protocol: requests go to its window as registered
// messages; data answers come back as global atoms holding hexadecimal text.
#include <cstdint>
#include <string>

#include "platform/atoms.h"

struct FSConnect_Link_Rec {
    int32_t Window = 0;
    uint32_t Message = 0;
};
inline FSConnect_Link_Rec FSConnect_Link;

// Looks the server up again; true when both the message and the window exist.
bool FSConnect_Connect();
// 0 = answer decoded, 1 = no server or a 0 answer, other = the server's own answer.
// Throws FSConnect_Error on an answer outside 16 bits or text that is not hexadecimal.
int16_t FSConnect_Request(int32_t request_id, const std::string& value_type, double& value, std::string& text,
                          int32_t& leading);
int16_t FSConnect_Get_Info(std::string& name, std::string& rest, int32_t& first, int32_t& second);
// Bytes 1..len/2 of `bytes` (index 0 unused) from the hexadecimal pairs of `hex`.
void FSConnect_Hex_To_Bytes(const std::string& hex, uint8_t (&bytes)[256]);

int16_t fscGetLatitude(double& latitude);
int16_t fscGetLongitude(double& longitude);

// Forgets the link (tests).
void FSConnect_Reset();

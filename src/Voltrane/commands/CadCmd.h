// The base of the host-service objects that answer the host messages: each one is a message
// map that the main frame's map reaches through the chain of the host-service object.
#pragma once

#include "WinKit/MessageMap.h"

class CCadCmd : public WinKit::CMessageMap {
public:
    CCadCmd() = default;
    ~CCadCmd() override = default;
    CCadCmd(const CCadCmd&) = delete;
    CCadCmd& operator=(const CCadCmd&) = delete;
};

// RemoteMemory.h: a block of memory allocated in another process, for window messages
// whose parameters point to structures (list view items, rectangles, tool infos).
#pragma once

#include <windows.h>

// How to use: CRemoteMemory mem(process, size); mem.Write(&local, sizeof local);
// SendMessage(hwnd, msg, 0, (LPARAM)mem.Address()); mem.Read(&local, sizeof local).
class CRemoteMemory {
public:
    CRemoteMemory(HANDLE process, SIZE_T size)
        : m_process(process), m_size(size),
          m_address(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~CRemoteMemory()
    {
        if (m_address)
            ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;

    bool IsValid() const { return m_address != nullptr; }
    void* Address() const { return m_address; }
    // An address inside the block, offset bytes from its start.
    void* At(SIZE_T offset) const { return static_cast<char*>(m_address) + offset; }

    bool Write(const void* data, SIZE_T size, SIZE_T offset = 0) const
    {
        SIZE_T done = 0;
        return m_address && offset + size <= m_size &&
               ::WriteProcessMemory(m_process, At(offset), data, size, &done) && done == size;
    }
    bool Read(void* data, SIZE_T size, SIZE_T offset = 0) const
    {
        SIZE_T done = 0;
        return m_address && offset + size <= m_size &&
               ::ReadProcessMemory(m_process, At(offset), data, size, &done) && done == size;
    }

private:
    HANDLE m_process;
    SIZE_T m_size;
    void* m_address;
};

// JsonWriter.h: builds one line of JSON text (objects, arrays, numbers, ANSI strings).
#pragma once

#include <cstdio>
#include <string>

// How to use: JsonWriter j; j.BeginObject(); j.Key("n"); j.Number(1); j.EndObject();
// then j.Text(). Commas are placed by the writer. Bytes of 0x80 and above are written
// as \u00XX, so the reader gets the ANSI bytes back by encoding the text as Latin-1.
class JsonWriter {
public:
    void BeginObject() { Separate(); m_text += '{'; m_first = true; }
    void EndObject() { m_text += '}'; m_first = false; }
    void BeginArray() { Separate(); m_text += '['; m_first = true; }
    void EndArray() { m_text += ']'; m_first = false; }
    void Key(const char* name)
    {
        Separate();
        Quote(name, std::char_traits<char>::length(name));
        m_text += ':';
        m_first = true;
    }
    void Number(long long value)
    {
        Separate();
        char buffer[32];
        std::snprintf(buffer, sizeof(buffer), "%lld", value);
        m_text += buffer;
    }
    void Bool(bool value) { Separate(); m_text += value ? "true" : "false"; }
    void Null() { Separate(); m_text += "null"; }
    void String(const char* text, size_t length)
    {
        Separate();
        Quote(text, length);
    }
    void String(const std::string& text) { String(text.data(), text.size()); }
    void String(const char* text) { String(std::string(text ? text : "")); }
    // A rectangle as [left, top, right, bottom].
    void Rect(long left, long top, long right, long bottom)
    {
        BeginArray();
        Number(left);
        Number(top);
        Number(right);
        Number(bottom);
        EndArray();
    }

    // A point as [x, y].
    void Point(long x, long y)
    {
        BeginArray();
        Number(x);
        Number(y);
        EndArray();
    }

    const std::string& Text() const { return m_text; }

private:
    void Quote(const char* text, size_t length)
    {
        m_text += '"';
        for (size_t i = 0; i < length; ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (c == '"' || c == '\\') {
                m_text += '\\';
                m_text += static_cast<char>(c);
            } else if (c < 0x20 || c >= 0x7F) {
                char buffer[8];
                std::snprintf(buffer, sizeof(buffer), "\\u%04x", c);
                m_text += buffer;
            } else {
                m_text += static_cast<char>(c);
            }
        }
        m_text += '"';
    }

    // The comma between two items of an array or members of an object.
    void Separate()
    {
        if (!m_first)
            m_text += ',';
        m_first = false;
    }

    std::string m_text;
    bool m_first = true;
};

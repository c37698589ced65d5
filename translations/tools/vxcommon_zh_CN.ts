<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ToolTranslator</name>
    <message>
        <source>Language of the messages, e.g. zh_CN, ja_JP or en (default: the system&apos;s).</source>
        <translation>消息的语言，例如 zh_CN、ja_JP 或 en（默认：系统语言）。</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>ToolTranslator</name>
    <message>
        <source>Language of the messages, e.g. zh_CN, ja_JP or en (default: the system&apos;s).</source>
        <translation>メッセージの言語。例: zh_CN、ja_JP、en（既定: システムの言語）。</translation>
    </message>
</context>
</TS>

-- The archive: one index row and one data row per message, both keyed by
-- (Message_ID, Message_Date), and the listing view over them.
-- Statements end with ";" at the end of a line.

CREATE TABLE Message_IdxTbl (
    Message_ID       VARCHAR(256) NOT NULL,
    Message_Date     TIMESTAMP    NOT NULL,
    Account_Key      VARCHAR(256),
    Sender_Name      VARCHAR(64),
    Sender_Address   VARCHAR(256),
    Recieve_Name     VARCHAR(64),
    Recieve_Address  VARCHAR(256),
    Message_Subject  VARCHAR(256),
    Message_dtype    VARCHAR(1),   -- one character: VARCHAR, since a UTF8 connection pads CHAR
    Message_ftype    VARCHAR(1),
    MailBody         BLOB SUB_TYPE TEXT,
    CONSTRAINT PK_Message_IdxTbl PRIMARY KEY (Message_ID, Message_Date)
);

CREATE TABLE Message_DatTBL (
    Message_ID        VARCHAR(256) NOT NULL,
    Message_Date      TIMESTAMP    NOT NULL,
    Message_FileName  VARCHAR(256),
    Message_FileExt   VARCHAR(16),
    MailDat           BLOB SUB_TYPE BINARY,
    CONSTRAINT PK_Message_DatTBL PRIMARY KEY (Message_ID, Message_Date)
);

-- The list is shown newest first.
CREATE DESCENDING INDEX IX_Message_IdxTbl_Date ON Message_IdxTbl (Message_Date);

-- A message registered by an older program may lack its data row; it is
-- still listed, without a file name.
CREATE VIEW MAIL_VIEW (MESSAGE_ID, MESSAGE_DATE, ACCOUNT_KEY, SENDER_NAME, SENDER_ADDRESS,
                       RECIEVE_NAME, RECIEVE_ADDRESS, MESSAGE_SUBJECT, MESSAGE_FILENAME, MAILBODY) AS
SELECT i.Message_ID, i.Message_Date, i.Account_Key, i.Sender_Name, i.Sender_Address,
       i.Recieve_Name, i.Recieve_Address, i.Message_Subject, d.Message_FileName, i.MailBody
FROM Message_IdxTbl i
LEFT JOIN Message_DatTBL d
       ON d.Message_ID = i.Message_ID AND d.Message_Date = i.Message_Date;

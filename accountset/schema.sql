-- The account set: the tables of the ERP that the library reads and writes, on SQLite.
--
-- Columns keep the SQL Server type names of the ERP (bit, smallint, int, money, datetime, varchar,
-- timestamp...), so that values come back typed as the ERP's database gives them. Text columns compare
-- without regard to case (COLLATE NOCASE), as the ERP's collation does; trailing blanks stay
-- significant, which SQL Server would ignore. There are no foreign keys: the ERP's tables have none.
-- FModifyTime columns are row versions (TIMESTAMP): the engine installs the triggers that stamp them.
-- An identity key (an id the database hands out) is INTEGER PRIMARY KEY AUTOINCREMENT, so that, as in
-- SQL Server, an id once used is never handed out again and a new row cannot inherit what still points
-- at a deleted one; a key taken from another table (a detail table's FItemID) is INT NOT NULL PRIMARY KEY.
-- UUID columns default to a new UUID text.

-- ---- System ----

CREATE TABLE t_SystemProfile (
  FCategory VARCHAR(50) NOT NULL COLLATE NOCASE,
  FKey VARCHAR(50) NOT NULL COLLATE NOCASE,
  FValue VARCHAR(255) COLLATE NOCASE,
  PRIMARY KEY (FCategory, FKey)
);

CREATE TABLE t_User (
  FUserID INTEGER PRIMARY KEY AUTOINCREMENT,
  FName VARCHAR(80) NOT NULL COLLATE NOCASE,
  FForbidden SMALLINT DEFAULT 0
);

-- One row per membership; group 1 is the administrators.
CREATE TABLE t_Group (
  FGroupID INT NOT NULL,
  FUserID INT NOT NULL,
  PRIMARY KEY (FGroupID, FUserID)
);

-- FObjectID 0 stands for every object of the type; FAccessType 0 denies, 1 grants; a negative mask
-- stands for all rights. FUserID is a user or a group.
CREATE TABLE t_AccessControl (
  FObjectType INT NOT NULL,
  FObjectID INT NOT NULL DEFAULT 0,
  FUserID INT NOT NULL,
  FAccessType SMALLINT NOT NULL,
  FAccessMask INT NOT NULL
);

-- ---- Items ----

-- The ids of classes created at run time start above 3000 (see the sqlite_sequence row below); FType 3
-- and 4 mark the classes of auxiliary properties.
CREATE TABLE t_ItemClass (
  FItemClassID INTEGER PRIMARY KEY AUTOINCREMENT,
  FNumber VARCHAR(80) NOT NULL COLLATE NOCASE,
  FName VARCHAR(255) NOT NULL COLLATE NOCASE,
  FName_EN VARCHAR(255) COLLATE NOCASE,
  FName_CHT VARCHAR(255) COLLATE NOCASE,
  FType SMALLINT NOT NULL DEFAULT 0,
  FSQLTableName VARCHAR(80) COLLATE NOCASE,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))
);

-- The custom properties of an item class, one row per property. Its values stand in the column
-- FSQLColumnName of the class's own table (t_ItemClass.FSQLTableName). A property with FSrcTable keeps a
-- key of that table (FSrcField) and is shown by its FDisplayField. FSearch names where a value is picked
-- from: an item class (its FItemClassID), a type of auxiliary data, 105 accounts, 120 currencies, 7 units.
-- FDataType and FActualType are ADO type codes (200 text of FActualSize characters).
CREATE TABLE t_ItemPropDesc (
  FItemClassID INT NOT NULL,
  FPropID INT NOT NULL,
  FName VARCHAR(255) NOT NULL COLLATE NOCASE,
  FName_Cht VARCHAR(255) COLLATE NOCASE,
  FName_En VARCHAR(255) COLLATE NOCASE,
  FSQLColumnName VARCHAR(80) COLLATE NOCASE,
  FDataType INT,
  FActualType INT,
  FActualSize INT,
  FBehavior INT,
  FPrecision SMALLINT,
  FScale SMALLINT,
  FSaveRule INT,
  FViewMask INT,
  FComCall VARCHAR(255) COLLATE NOCASE,
  FDisplayField VARCHAR(80) COLLATE NOCASE,
  FFilterField VARCHAR(255) COLLATE NOCASE,
  FPageName VARCHAR(80) COLLATE NOCASE,
  FPageName_Cht VARCHAR(80) COLLATE NOCASE,
  FPageName_En VARCHAR(80) COLLATE NOCASE,
  FSrcField VARCHAR(80) COLLATE NOCASE,
  FSrcTable VARCHAR(80) COLLATE NOCASE,
  FDefaultValue VARCHAR(255) COLLATE NOCASE,
  FSearch INT
);
CREATE INDEX ix_t_ItemPropDesc_Class ON t_ItemPropDesc (FItemClassID, FPropID);


-- The ERP's access objects and what may be granted on them. An item class is the object (3, its
-- FItemClassID), the attachments of its records the object (2002, its FItemClassID). Each access type
-- (FIndex) is one bit mask; t_ObjectAccess says which user groups hold it. The access rows of item class
-- 20 are the template that a new class copies.
CREATE TABLE t_ObjectType (
  FObjectType INT NOT NULL,
  FObjectID INT NOT NULL,
  FName VARCHAR(255) COLLATE NOCASE,
  FName_cht VARCHAR(255) COLLATE NOCASE,
  FName_en VARCHAR(255) COLLATE NOCASE,
  FDescription VARCHAR(255) COLLATE NOCASE,
  FDescription_cht VARCHAR(255) COLLATE NOCASE,
  FDescription_en VARCHAR(255) COLLATE NOCASE
);
CREATE TABLE t_ObjectAccessType (
  FObjectType INT NOT NULL,
  FObjectID INT NOT NULL,
  FIndex INT NOT NULL,
  FAccessMask INT NOT NULL,
  FAccessUse INT NOT NULL DEFAULT 0,
  FName VARCHAR(255) COLLATE NOCASE,
  FDescription VARCHAR(255) COLLATE NOCASE,
  FName_Cht VARCHAR(255) COLLATE NOCASE,
  FName_En VARCHAR(255) COLLATE NOCASE,
  FDescription_Cht VARCHAR(255) COLLATE NOCASE,
  FDescription_En VARCHAR(255) COLLATE NOCASE
);
CREATE TABLE t_ObjectAccess (
  FGroupID INT NOT NULL,
  FObjectType INT NOT NULL,
  FObjectID INT NOT NULL,
  FIndex INT NOT NULL
);

CREATE TABLE t_Item (
  FItemID INTEGER PRIMARY KEY AUTOINCREMENT,
  FItemClassID INT NOT NULL,
  FNumber VARCHAR(80) NOT NULL COLLATE NOCASE,
  FName VARCHAR(255) NOT NULL COLLATE NOCASE,
  FParentID INT NOT NULL DEFAULT 0,
  FLevel SMALLINT NOT NULL DEFAULT 1,
  FDetail BIT NOT NULL DEFAULT 1,
  FFullNumber VARCHAR(80) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FDeleted SMALLINT NOT NULL DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))),
  FModifyTime TIMESTAMP
);
CREATE INDEX ix_t_Item_Class_Number ON t_Item (FItemClassID, FNumber);
CREATE INDEX ix_t_Item_UUID ON t_Item (UUID);
-- Links name an item by number and name, whatever its class.
CREATE INDEX ix_t_Item_Number ON t_Item (FNumber);
-- Links are also looked up by name alone.
CREATE INDEX ix_t_Item_Name ON t_Item (FName);
CREATE INDEX ix_t_Item_ModifyTime ON t_Item (FModifyTime);
-- A class's page of changes and its highest stamp are read in stamp order within the class.
CREATE INDEX ix_t_Item_Class_ModifyTime ON t_Item (FItemClassID, FModifyTime);

CREATE TABLE t_BarCode (
  FTypeID INT NOT NULL,
  FItemID INT NOT NULL,
  FBarCode VARCHAR(255) NOT NULL COLLATE NOCASE,
  FRemark VARCHAR(255) COLLATE NOCASE
);
CREATE INDEX ix_t_BarCode_Item ON t_BarCode (FTypeID, FItemID);

-- The keys of deleted base data, written by the ERP when it deletes a record.
CREATE TABLE t_BaseDataDeleted (
  FID INTEGER PRIMARY KEY AUTOINCREMENT,
  FTableName VARCHAR(50) NOT NULL COLLATE NOCASE,
  FItemClassID INT NOT NULL DEFAULT 0,
  FDeletedUUID VARCHAR(40) NOT NULL COLLATE NOCASE,
  FModifyTime TIMESTAMP
);

-- The detail tables of the item classes, by the columns they all share; each data type adds its own.
-- COM_Item and COM_Stock are the material and warehouse tables of a commercial account set.
-- A customer's own columns: names, contact and bank data, links to auxiliary data, its department and
-- employee, its currency, settlement mode, accounts and keeping stock, trade figures and licences.
CREATE TABLE t_Organization (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FShortName VARCHAR(255) COLLATE NOCASE,
  FHelpCode VARCHAR(255) COLLATE NOCASE,
  FAddress VARCHAR(255) COLLATE NOCASE,
  FStatus INT DEFAULT 0,
  FRegionID INT DEFAULT 0,
  FTrade INT DEFAULT 0,
  FContact VARCHAR(255) COLLATE NOCASE,
  FPhone VARCHAR(255) COLLATE NOCASE,
  FFax VARCHAR(255) COLLATE NOCASE,
  FPostalCode VARCHAR(255) COLLATE NOCASE,
  FEmail VARCHAR(255) COLLATE NOCASE,
  FBank VARCHAR(255) COLLATE NOCASE,
  FAccount VARCHAR(255) COLLATE NOCASE,
  FTaxNum VARCHAR(255) COLLATE NOCASE,
  FSaleMode INT DEFAULT 0,
  FCity VARCHAR(255) COLLATE NOCASE,
  FProvince VARCHAR(255) COLLATE NOCASE,
  FCountry VARCHAR(255) COLLATE NOCASE,
  FHomePage VARCHAR(255) COLLATE NOCASE,
  FCorperate VARCHAR(255) COLLATE NOCASE,
  FCyID INT DEFAULT 0,
  FSetID INT DEFAULT 0,
  FCIQNumber VARCHAR(255) COLLATE NOCASE,
  FARAccountID INT DEFAULT 0,
  FPreAcctID INT DEFAULT 0,
  FFavorPolicy VARCHAR(255) COLLATE NOCASE,
  FDepartment INT DEFAULT 0,
  FEmployee INT DEFAULT 0,
  FLastTradeDate DATETIME,
  FLastTradeAmount MONEY DEFAULT 0,
  FLastReceiveDate DATETIME,
  FLastRPAmount MONEY DEFAULT 0,
  FMaxDealAmount MONEY DEFAULT 0,
  FMinForeReceiveRate DECIMAL(28, 10) DEFAULT 0,
  FMinReserverate DECIMAL(28, 10) DEFAULT 0,
  FDebtLevel INT DEFAULT 0,
  FPayTaxAcctID INT DEFAULT 0,
  FTypeID INT DEFAULT 0,
  FStockIDKeep INT DEFAULT 0,
  FLicAndPermit BIT DEFAULT 0,
  FLicence VARCHAR(255) COLLATE NOCASE,
  FPermit VARCHAR(255) COLLATE NOCASE,
  FCertify VARCHAR(255) COLLATE NOCASE,
  FPaperPeriod DATETIME,
  FAlarmPeriod DATETIME,
  FIsCreditMgr BIT DEFAULT 0,
  FCarryingAOS INT DEFAULT 0,
  FValueAddRate DECIMAL(28, 10) DEFAULT 17,
  FSaleID INT DEFAULT 0,
  FOtherARAcctID INT DEFAULT 0,
  FOtherAPAcctID INT DEFAULT 0,
  FPreAPAcctID INT DEFAULT 0,
  FAPAccountID INT DEFAULT 0
);
-- A department's own columns: contact data, and links to its manager (an item), its property and cost
-- account type (auxiliary data), its accounts and its calendar.
CREATE TABLE t_Department (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FNote VARCHAR(255) COLLATE NOCASE,
  FPhone VARCHAR(40) COLLATE NOCASE,
  FFax VARCHAR(40) COLLATE NOCASE,
  FManager INT DEFAULT 0,
  FDProperty INT DEFAULT 0,
  FAcctID INT DEFAULT 0,
  FCostAccountType INT DEFAULT 0,
  FCalID INT,
  FOtherArAcctID INT DEFAULT 0,
  FOtherAPAcctID INT DEFAULT 0,
  FPreApAcctID INT DEFAULT 0,
  FPreArAcctID INT DEFAULT 0
);
-- An employee's own columns: department (an item), personal data, entries of the auxiliary data for
-- gender, degree, duty and groups, the credit-manager flag, the allotment percentage, the job type and
-- four accounts.
CREATE TABLE t_Emp (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FDepartmentID INT DEFAULT 0,
  FGender INT DEFAULT 0,
  FBirthday DATETIME,
  FDegree INT DEFAULT 0,
  FPhone VARCHAR(40) COLLATE NOCASE,
  FID VARCHAR(40) COLLATE NOCASE,
  FDuty INT DEFAULT 0,
  FHireDate DATETIME,
  FLeaveDate DATETIME,
  FBankAccount VARCHAR(80) COLLATE NOCASE,
  FAddress VARCHAR(255) COLLATE NOCASE,
  FEmail VARCHAR(80) COLLATE NOCASE,
  FNote VARCHAR(255) COLLATE NOCASE,
  FProfessionalGroup INT DEFAULT 0,
  FEmpGroup INT DEFAULT 0,
  FIsCreditMgr BIT DEFAULT 0,
  FAllotPercent DECIMAL(28, 10) DEFAULT 0,
  FJobTypeID INT DEFAULT 0,
  FOtherArAcctID INT DEFAULT 0,
  FOtherAPAcctID INT DEFAULT 0,
  FPreApAcctID INT DEFAULT 0,
  FPreArAcctID INT DEFAULT 0
);
-- A material's own columns, in the order of its record: model and costing method, the extra group,
-- the main set and the tail. Flags are bits, quantities and prices decimals, links identifiers.
CREATE TABLE t_ICItem (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FModel VARCHAR(255) COLLATE NOCASE,
  FTrack INT DEFAULT 0,
  FAuxClassID INT DEFAULT 0,
  FHelpCode VARCHAR(255) COLLATE NOCASE,
  FTypeID INT DEFAULT 0,
  FUnitGroupID INT DEFAULT 0,
  FIsSpecialTax BIT DEFAULT 0,
  FStockTime BIT DEFAULT 0,
  FBeforeExpire INT DEFAULT 0,
  FApproveNo VARCHAR(255) COLLATE NOCASE,
  FAlias VARCHAR(255) COLLATE NOCASE,
  FTaxRate DECIMAL(28, 10) DEFAULT 17,
  FNote VARCHAR(255) COLLATE NOCASE,
  FAdminAcctID INT DEFAULT 0,
  FBookPlan BIT DEFAULT 0,
  FErpClsID INT DEFAULT 0,
  FUnitID INT DEFAULT 0,
  FCUUnitID INT DEFAULT 0,
  FDefaultLoc INT DEFAULT 0,
  FSPID INT DEFAULT 0,
  FSource INT DEFAULT 0,
  FQtyDecimal SMALLINT DEFAULT 0,
  FLowLimit DECIMAL(28, 10) DEFAULT 0,
  FHighLimit DECIMAL(28, 10) DEFAULT 0,
  FSecInv DECIMAL(28, 10) DEFAULT 0,
  FUseState INT DEFAULT 0,
  FOrderRector INT DEFAULT 0,
  FPOHighPrice DECIMAL(28, 10) DEFAULT 0,
  FIsSale BIT DEFAULT 1,
  FSalePrice DECIMAL(28, 10) DEFAULT 0,
  FInspectionLevel INT DEFAULT 0,
  FInspectionProject INT DEFAULT 0,
  FIdentifier INT DEFAULT 0,
  FBatchManager BIT DEFAULT 0,
  FISKFPeriod BIT DEFAULT 0,
  FKFPeriod INT DEFAULT 0,
  FPlanPrice DECIMAL(28, 10) DEFAULT 0,
  FStandardCost DECIMAL(28, 10) DEFAULT 0,
  FPriceDecimal SMALLINT DEFAULT 2,
  FAcctID INT DEFAULT 0,
  FSaleAcctID INT DEFAULT 0,
  FCostAcctID INT DEFAULT 0,
  FAPAcctID INT DEFAULT 0,
  FGoodSpec INT DEFAULT 0,
  FCostProject INT DEFAULT 0,
  FStandardManHour DECIMAL(28, 10) DEFAULT 0,
  FPlanTrategy INT DEFAULT 0,
  FOrderTrategy INT DEFAULT 0,
  FLeadTime DECIMAL(28, 10) DEFAULT 0,
  FTotalTQQ INT DEFAULT 0,
  FOrderInterVal INT DEFAULT 0,
  FQtyMin DECIMAL(28, 10) DEFAULT 0,
  FQtyMax DECIMAL(28, 10) DEFAULT 0,
  FBatchAppendQty DECIMAL(28, 10) DEFAULT 0,
  FOrderPoint DECIMAL(28, 10) DEFAULT 0,
  FBatFixEconomy BIT DEFAULT 0,
  FRequirePoint DECIMAL(28, 10) DEFAULT 0,
  FPlanPoint INT DEFAULT 0,
  FDefaultRoutingID INT DEFAULT 0,
  FDefaultWorkTypeID INT DEFAULT 0,
  FProductPrincipal INT DEFAULT 0,
  FChartNumber VARCHAR(255) COLLATE NOCASE,
  FIsKeyItem BIT DEFAULT 0,
  FGrossWeight DECIMAL(28, 10) DEFAULT 0,
  FNetWeight DECIMAL(28, 10) DEFAULT 0,
  FMaund INT DEFAULT 0,
  FLength DECIMAL(28, 10) DEFAULT 0,
  FWidth DECIMAL(28, 10) DEFAULT 0,
  FHeight DECIMAL(28, 10) DEFAULT 0,
  FSize DECIMAL(28, 10) DEFAULT 0,
  FCubicMeasure INT DEFAULT 0,
  FDailyConsume DECIMAL(28, 10) DEFAULT 0,
  FMRPCon BIT DEFAULT 1,
  FFullName VARCHAR(255) COLLATE NOCASE,
  FProChkMde INT DEFAULT 0,
  FWWChkMde INT DEFAULT 0,
  FSOChkMde INT DEFAULT 0,
  FWthDrwChkMde INT DEFAULT 0,
  FStkChkMde INT DEFAULT 0,
  FOtherChkMde INT DEFAULT 0,
  FStkChkPrd INT DEFAULT 9999,
  FStkChkAlrm INT DEFAULT 0,
  FPOHghPrcMnyType INT DEFAULT 0,
  FSOLowPrcMnyType INT DEFAULT 0,
  FWWHghPrcMnyType INT DEFAULT 0,
  FSOLowPrc DECIMAL(28, 10) DEFAULT 0,
  FWWHghPrc DECIMAL(28, 10) DEFAULT 0,
  FIsEquipment BIT DEFAULT 0,
  FEquipmentNum VARCHAR(255) COLLATE NOCASE,
  FIsSparePart BIT DEFAULT 0,
  FIsSNManage BIT DEFAULT 0,
  FVersion VARCHAR(255) COLLATE NOCASE,
  FFixLeadTime DECIMAL(28, 10) DEFAULT 0,
  FBatChangeEconomy DECIMAL(28, 10) DEFAULT 0,
  FStdPayRate DECIMAL(28, 10) DEFAULT 0,
  FChgFeeRate DECIMAL(28, 10) DEFAULT 0,
  FStdFixFeeRate DECIMAL(28, 10) DEFAULT 0,
  FOutMachFee DECIMAL(28, 10) DEFAULT 0,
  FProfitRate DECIMAL(28, 10) DEFAULT 0,
  FOrderUnitID INT DEFAULT 0,
  FSaleUnitID INT DEFAULT 0,
  FStoreUnitID INT DEFAULT 0,
  FProductUnitID INT DEFAULT 0,
  FOrderPrice DECIMAL(28, 10) DEFAULT 0,
  FSecUnitID INT DEFAULT 0,
  FSecUnitDecimal SMALLINT DEFAULT 0,
  FSecCoefficient DECIMAL(28, 10) DEFAULT 0,
  FInHighLimit DECIMAL(28, 10) DEFAULT 0,
  FInLowLimit DECIMAL(28, 10) DEFAULT 0,
  FPutInteger BIT DEFAULT 0,
  FPieceRate DECIMAL(28, 10) DEFAULT 0,
  Fplanner INT DEFAULT 0,
  FLastCheckDate DATETIME,
  FCheckCycle INT DEFAULT 0,
  FCheckCycUnit INT DEFAULT 0,
  FDaysPer INT DEFAULT 0,
  FOIHighLimit DECIMAL(28, 10) DEFAULT 0,
  FOILowLimit DECIMAL(28, 10) DEFAULT 0,
  FSOHighLimit DECIMAL(28, 10) DEFAULT 0,
  FSOLowLimit DECIMAL(28, 10) DEFAULT 0
);
-- A warehouse's own columns: its type and property (auxiliary data), its administrator (an item),
-- address and phone, its MRP and stock-management flags and its stock-place group.
CREATE TABLE t_Stock (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FTypeID INT DEFAULT 0,
  FEmpID INT DEFAULT 0,
  FAddress VARCHAR(255) COLLATE NOCASE,
  FPhone VARCHAR(40) COLLATE NOCASE,
  FProperty INT DEFAULT 0,
  FMRPAvail BIT DEFAULT 1,
  FIsStockMgr BIT DEFAULT 0,
  FSPGroupID INT DEFAULT 0
);
-- A supplier's own columns: contact and bank data, entries of the auxiliary data, its department and
-- employee (items), currency, settlement method, accounts, trade figures and dates, credit terms, and
-- the warehouse that receives its goods (an item of vwAssigneeStock).
CREATE TABLE t_Supplier (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FShortName VARCHAR(80) COLLATE NOCASE,
  FAddress VARCHAR(255) COLLATE NOCASE,
  FStatus INT DEFAULT 0,
  FRegionID INT DEFAULT 0,
  FTrade INT DEFAULT 0,
  FContact VARCHAR(80) COLLATE NOCASE,
  FPhone VARCHAR(40) COLLATE NOCASE,
  FPostalCode VARCHAR(80) COLLATE NOCASE,
  FEmail VARCHAR(80) COLLATE NOCASE,
  FFax VARCHAR(40) COLLATE NOCASE,
  FCyID INT DEFAULT 0,
  FSetID INT DEFAULT 0,
  FBank VARCHAR(255) COLLATE NOCASE,
  FAccount VARCHAR(80) COLLATE NOCASE,
  FTaxNum VARCHAR(50) COLLATE NOCASE,
  FProvince VARCHAR(80) COLLATE NOCASE,
  FCountry VARCHAR(80) COLLATE NOCASE,
  FDepartment INT DEFAULT 0,
  FEmployee INT DEFAULT 0,
  FCorperate VARCHAR(80) COLLATE NOCASE,
  FAPAccountID INT DEFAULT 0,
  FPreAcctID INT DEFAULT 0,
  FFavorPolicy VARCHAR(255) COLLATE NOCASE,
  FLastTradeDate DATETIME,
  FLastTradeAmount MONEY,
  FLastReceiveDate DATETIME,
  FLastRPAmount MONEY,
  FMaxDealAmount MONEY,
  FMinForeReceiveRate DECIMAL(28, 10),
  FPayTaxAcctID INT DEFAULT 0,
  FCreditDays INT DEFAULT 0,
  FLicAndPermit VARCHAR(255) COLLATE NOCASE,
  FLicence VARCHAR(255) COLLATE NOCASE,
  FTypeID INT DEFAULT 0,
  FStockIDAssignee INT DEFAULT 0,
  FDiscount DECIMAL(28, 10) DEFAULT 0,
  FRegmark VARCHAR(255) COLLATE NOCASE,
  FBr VARCHAR(80) COLLATE NOCASE,
  FPaperPeriod DATETIME,
  FAlarmPeriod DATETIME,
  FValueAddRate DECIMAL(28, 10) DEFAULT 17,
  FOtherARAcctID INT DEFAULT 0,
  FOtherAPAcctID INT DEFAULT 0,
  FPreARAcctID INT DEFAULT 0,
  FARAccountID INT DEFAULT 0
);
-- A branch's own columns: investment and rate figures, entries of the auxiliary data, the items it
-- trades with and belongs to (warehouse, supplier, customer, department, superior branch) and a stock
-- place.
CREATE TABLE t_SonCompany (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FInvestAmt MONEY,
  FInvestRate DECIMAL(28, 10),
  FBadDebtsRate DECIMAL(28, 10),
  FBondInvestAmt MONEY,
  FTrade INT DEFAULT 0,
  FRegionID INT DEFAULT 0,
  FAcctModeID INT DEFAULT 0,
  FOwnershipID INT DEFAULT 0,
  FAssetshipID INT DEFAULT 0,
  FSuperDeptID INT DEFAULT 0,
  FRetailStockID INT DEFAULT 0,
  FProviderID INT DEFAULT 0,
  FClientID INT DEFAULT 0,
  FDepartmentID INT DEFAULT 0,
  FSuperiorID INT DEFAULT 0,
  FCorProvider INT DEFAULT 0,
  FCorCustomer INT DEFAULT 0,
  FStockPlaceID INT DEFAULT 0
);
-- A work centre's own columns: its department (an item), note and calendar, key, team time,
-- capacity figures, unit cost and capacity calculation type (auxiliary data).
CREATE TABLE t_WorkCenter (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FDeptID INT DEFAULT 0,
  FNote VARCHAR(255) COLLATE NOCASE,
  FCalID INT,
  Fkey INT DEFAULT 0,
  FTeamTimeID INT DEFAULT 0,
  FWorkNumber INT DEFAULT 0,
  FDeviceNum INT DEFAULT 0,
  FPersonNum INT DEFAULT 0,
  FEfficiency DECIMAL(28, 10) DEFAULT 100,
  FUseingRate DECIMAL(28, 10) DEFAULT 100,
  FWorkCapacity DECIMAL(28, 10) DEFAULT 0,
  FUnitCost MONEY DEFAULT 0,
  FCapacityCalType INT DEFAULT 0
);
-- A fee's own columns: its type (auxiliary data), its unit as free text, and a remark.
CREATE TABLE t_Fee (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FFeeType INT DEFAULT 0,
  FUnit VARCHAR(40) COLLATE NOCASE,
  FRemark VARCHAR(255) COLLATE NOCASE
);
-- A cost object's calculation type (auxiliary data) and standard product (an item).
CREATE TABLE cbCostObj (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FCalculateType INT DEFAULT 0,
  FStdProductID INT DEFAULT 0
);
-- A service's unit (an item), price, cost item, decimals and department.
CREATE TABLE cbService (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FUnitID INT DEFAULT 0,
  FPrice DECIMAL(28, 10) DEFAULT 0,
  FCostItemID INT DEFAULT 0,
  FQtyDecimal SMALLINT DEFAULT 0,
  FPriceDecimal SMALLINT DEFAULT 2,
  FDeptID INT DEFAULT 0
);
-- A cost item's type, cost property and cost control (auxiliary data).
CREATE TABLE cbCostItem (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FTypeID INT DEFAULT 0,
  FCostPropertyID INT DEFAULT 0,
  FCostControlID INT DEFAULT 0
);
-- An expense element's cost item and four accounts.
CREATE TABLE cbExpense (
  FItemID INT NOT NULL PRIMARY KEY,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FCostItemID INT DEFAULT 0,
  FBaseAcctID INT DEFAULT 0,
  FAssistAcctID INT DEFAULT 0,
  FMakeAcctID INT DEFAULT 0,
  FAcctID INT DEFAULT 0
);
CREATE TABLE COM_Item (FItemID INT NOT NULL PRIMARY KEY, FParentID INT NOT NULL DEFAULT 0, FNumber VARCHAR(80) COLLATE NOCASE, FName VARCHAR(255) COLLATE NOCASE, FShortNumber VARCHAR(80) COLLATE NOCASE);
CREATE TABLE COM_Stock (FItemID INT NOT NULL PRIMARY KEY, FParentID INT NOT NULL DEFAULT 0, FNumber VARCHAR(80) COLLATE NOCASE, FName VARCHAR(255) COLLATE NOCASE, FShortNumber VARCHAR(80) COLLATE NOCASE);

-- The core of the ERP's material data: here the number and name of t_ICItem itself, seen through a view,
-- so that the two never disagree. Writing them through the view writes t_ICItem.
CREATE VIEW t_ICItemCore AS SELECT FItemID, FNumber, FName FROM t_ICItem;
CREATE TRIGGER t_ICItemCore_Update INSTEAD OF UPDATE ON t_ICItemCore
BEGIN
  UPDATE t_ICItem SET FNumber = NEW.FNumber, FName = NEW.FName WHERE FItemID = OLD.FItemID;
END;

-- ---- Material auxiliary properties and cost-object products ----

-- FAuxPropID is the t_Item row of an auxiliary property.
CREATE TABLE COM_ItemAuxProp (
  FItemID INT NOT NULL,
  FAuxPropID INT NOT NULL
);
CREATE INDEX ix_COM_ItemAuxProp_Item ON COM_ItemAuxProp (FItemID);

-- The ERP keeps an item's auxiliary properties once given: their combinations may be in use in its
-- documents. An import that replaces an item's whole list disables this trigger for that delete alone.
CREATE TRIGGER COM_ItemAuxProp_Delete BEFORE DELETE ON COM_ItemAuxProp
BEGIN
  SELECT RAISE(ABORT, 'The auxiliary properties of an item cannot be deleted.');
END;

CREATE TABLE cb_CostObj_Product (
  FCostObjID INT NOT NULL,
  FProductID INT NOT NULL,
  FQuotiety DECIMAL(28, 10) NOT NULL DEFAULT 1,
  FIsStand BIT NOT NULL DEFAULT 0,
  FIsDeputy BIT NOT NULL DEFAULT 0
);
CREATE INDEX ix_cb_CostObj_Product_CostObj ON cb_CostObj_Product (FCostObjID);

-- ---- The records that item fields link to ----
-- Each table holds the columns its links read; its own data type adds the rest.

-- Auxiliary data of an industrial account set: entries (FID is the entry's number) under the types of
-- t_SubMesType. An entry's FParentID holds its type as well; entries whose FParentID is 0 are not
-- exchanged. FInterID and FTypeID are given by the importer as the highest plus 1.
CREATE TABLE t_SubMessage (
  FInterID INTEGER PRIMARY KEY AUTOINCREMENT,
  FBrNo INT NOT NULL DEFAULT 0,
  FTypeID INT DEFAULT 0,
  FParentID INT NOT NULL DEFAULT 0,
  FID VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FDeleted SMALLINT NOT NULL DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))),
  FModifyTime TIMESTAMP
);

CREATE TABLE t_SubMesType (
  FTypeID INTEGER PRIMARY KEY AUTOINCREMENT,
  FName VARCHAR(255) COLLATE NOCASE,
  FType SMALLINT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))
);

-- Auxiliary data of a commercial account set: entries under the classes of com_SysTypeClass. The
-- ERP's predefined entries (FPreDefined not 0) are neither exchanged nor changed.
CREATE TABLE com_SysType (
  FSysTypeID INTEGER PRIMARY KEY AUTOINCREMENT,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FPreDefined BIT DEFAULT 0,
  FClassID INT DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))),
  FModifyTime TIMESTAMP
);

CREATE TABLE com_SysTypeClass (
  FTypeClassID INTEGER PRIMARY KEY AUTOINCREMENT,
  FTypeClassName VARCHAR(255) COLLATE NOCASE,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))
);

-- The chart of accounts: a tree through FParentID, FRootID naming the top account of the tree. FDetail
-- is 0 for an account with sub-accounts; FDC 1 debit, -1 credit. The flags (FAdjustRate: revalued in
-- foreign currency, FContact: reconciled, FQuantities: kept in quantities too, FIsCash, FIsBank,
-- FJournal, FIsCashFlow, FAcctint: bears interest) are 0 or 1. An account names its currency, its unit
-- and unit group (quantity accounts), its group (t_AcctGroup) and its combination of item classes
-- (FDetailID, see t_ItemDetail).
CREATE TABLE t_Account (
  FAccountID INTEGER PRIMARY KEY AUTOINCREMENT,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FHelperCode VARCHAR(80) COLLATE NOCASE,
  FLevel SMALLINT DEFAULT 1,
  FDetail SMALLINT DEFAULT 1,
  FAdjustRate SMALLINT DEFAULT 0,
  FContact SMALLINT DEFAULT 0,
  FQuantities SMALLINT DEFAULT 0,
  FIsCash SMALLINT DEFAULT 0,
  FIsBank SMALLINT DEFAULT 0,
  FJournal SMALLINT DEFAULT 0,
  FIsCashFlow SMALLINT DEFAULT 0,
  FAcctint SMALLINT DEFAULT 0,
  FIntRate FLOAT DEFAULT 0,
  FDC SMALLINT DEFAULT 1,
  FCurrencyID INT DEFAULT 0,
  FMeasureUnitID INT DEFAULT 0,
  FUnitGroupID INT DEFAULT 0,
  FGroupID INT DEFAULT 0,
  FEarnAccountID INT DEFAULT 0,
  FControlSystem INT DEFAULT 0,
  FParentID INT NOT NULL DEFAULT 0,
  FRootID INT NOT NULL DEFAULT 0,
  FDetailID INT NOT NULL DEFAULT 0,
  FDelete SMALLINT NOT NULL DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))),
  FModifyTime TIMESTAMP
);
CREATE INDEX ix_t_Account_Number ON t_Account (FNumber);

-- Account groups (the ERP's account classes): FGroupID is the group's own number (101, 102, 201...),
-- whose first digit is its class FClassID.
CREATE TABLE t_AcctGroup (
  FGroupID INT NOT NULL PRIMARY KEY,
  FClassID INT NOT NULL DEFAULT 0,
  FName VARCHAR(255) COLLATE NOCASE,
  FName_cht VARCHAR(255) COLLATE NOCASE,
  FName_en VARCHAR(255) COLLATE NOCASE,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))
);

-- The item combinations that the ERP's documents and accounts carry: one t_ItemDetail row per
-- combination, with -1 in the column F<FItemClassID> of each item class it holds (the built-in classes
-- have theirs here; a custom class adds its column when it is created), and one t_ItemDetailV row per
-- class of it (FItemID -1: the whole class).
CREATE TABLE t_ItemDetail (
  FDetailID INTEGER PRIMARY KEY AUTOINCREMENT,
  FDetailCount INT NOT NULL DEFAULT 0,
  F1 INT NOT NULL DEFAULT 0,
  F2 INT NOT NULL DEFAULT 0,
  F3 INT NOT NULL DEFAULT 0,
  F4 INT NOT NULL DEFAULT 0,
  F5 INT NOT NULL DEFAULT 0,
  F7 INT NOT NULL DEFAULT 0,
  F8 INT NOT NULL DEFAULT 0,
  F9 INT NOT NULL DEFAULT 0,
  F10 INT NOT NULL DEFAULT 0,
  F14 INT NOT NULL DEFAULT 0,
  F2001 INT NOT NULL DEFAULT 0,
  F2002 INT NOT NULL DEFAULT 0,
  F2003 INT NOT NULL DEFAULT 0,
  F2004 INT NOT NULL DEFAULT 0,
  F2014 INT NOT NULL DEFAULT 0
);
CREATE TABLE t_ItemDetailV (
  FDetailID INT NOT NULL,
  FItemClassID INT NOT NULL,
  FItemID INT NOT NULL DEFAULT -1
);
CREATE INDEX ix_t_ItemDetailV_Detail ON t_ItemDetailV (FDetailID);

-- A currency's rate converts by its operator ('*' multiplies, '/' divides) and rounds to FScale places;
-- FFixRate marks a rate that does not float.
CREATE TABLE t_Currency (
  FCurrencyID INTEGER PRIMARY KEY AUTOINCREMENT,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FExchangeRate FLOAT DEFAULT 1,
  FOperator CHAR(1) COLLATE NOCASE DEFAULT '*',
  FScale SMALLINT DEFAULT 2,
  FFixRate SMALLINT DEFAULT 0,
  FDeleted SMALLINT NOT NULL DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))),
  FModifyTime TIMESTAMP
);

-- A settlement method posts to its account FAcctID (0 none, -1 not found when it was imported).
CREATE TABLE t_Settle (
  FItemID INTEGER PRIMARY KEY AUTOINCREMENT,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FAcctID INT DEFAULT 0,
  FStatus SMALLINT DEFAULT 0,
  FDeleted SMALLINT NOT NULL DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))),
  FModifyTime TIMESTAMP
);

-- Voucher groups have a name and no number. The six ranges (debit, credit, either; and the same for
-- the other side) are account-number texts, Null for none; FStandard marks the one standard group and
-- FLimitMulti limits the entries of a voucher.
CREATE TABLE t_VoucherGroup (
  FGroupID INTEGER PRIMARY KEY AUTOINCREMENT,
  FName VARCHAR(255) COLLATE NOCASE,
  FDRange VARCHAR(255) COLLATE NOCASE,
  FCRange VARCHAR(255) COLLATE NOCASE,
  FDCRange VARCHAR(255) COLLATE NOCASE,
  FNDRange VARCHAR(255) COLLATE NOCASE,
  FNCRange VARCHAR(255) COLLATE NOCASE,
  FNDCRange VARCHAR(255) COLLATE NOCASE,
  FStandard SMALLINT DEFAULT 0,
  FLimitMulti INT DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))),
  FModifyTime TIMESTAMP
);

-- Units of measure and their groups are items of class 7 as well: a group's FUnitGroupID and a unit's
-- FMeasureUnitID are the FItemID of their t_Item rows (a group's row has level 1 and no detail, a unit's
-- level 2 under its group). A group names its standard unit in FDefaultUnitID; that unit has FStandard 1.
CREATE TABLE t_UnitGroup (
  FUnitGroupID INT NOT NULL PRIMARY KEY,
  FName VARCHAR(255) COLLATE NOCASE,
  FDefaultUnitID INT DEFAULT 0,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))
);

CREATE TABLE t_MeasureUnit (
  FMeasureUnitID INT NOT NULL PRIMARY KEY,
  FItemID INT NOT NULL DEFAULT 0,
  FUnitGroupID INT DEFAULT 0,
  FParentID INT NOT NULL DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FCoefficient FLOAT DEFAULT 1,
  FAuxClass VARCHAR(255) COLLATE NOCASE,
  FStandard SMALLINT NOT NULL DEFAULT 0,
  FDeleted SMALLINT NOT NULL DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))),
  FModifyTime TIMESTAMP
);

-- A unit's FSystemType is the one of its item row, which the importer writes: a unit carried in from
-- another account set is then left out of this set's exports like every other imported item.
CREATE TRIGGER t_MeasureUnit_SystemType AFTER INSERT ON t_MeasureUnit
  WHEN EXISTS (SELECT 1 FROM t_Item WHERE FItemID = NEW.FMeasureUnitID AND FItemClassID = 7)
BEGIN
  UPDATE t_MeasureUnit SET FSystemType = (SELECT FSystemType FROM t_Item WHERE FItemID = NEW.FMeasureUnitID)
    WHERE FMeasureUnitID = NEW.FMeasureUnitID;
END;
CREATE TRIGGER t_Item_UnitSystemType AFTER UPDATE OF FSystemType ON t_Item
  WHEN NEW.FItemClassID = 7 AND NEW.FSystemType IS NOT OLD.FSystemType
BEGIN
  UPDATE t_MeasureUnit SET FSystemType = NEW.FSystemType WHERE FMeasureUnitID = NEW.FItemID;
END;

-- Stock places form a tree (FParentID) and belong to a group, which names its default place.
CREATE TABLE t_StockPlaceGroup (
  FSPGroupID INTEGER PRIMARY KEY AUTOINCREMENT,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FDefaultSPID INT NOT NULL DEFAULT 0,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))
);

CREATE TABLE t_StockPlace (
  FSPID INTEGER PRIMARY KEY AUTOINCREMENT,
  FSPGroupID INT DEFAULT 0,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  FParentID INT DEFAULT 0,
  FDetail SMALLINT DEFAULT 1,
  FLevel SMALLINT DEFAULT 1,
  FFullNumber VARCHAR(80) COLLATE NOCASE,
  FShortNumber VARCHAR(80) COLLATE NOCASE,
  FDeleted SMALLINT NOT NULL DEFAULT 0,
  FSystemType INT NOT NULL DEFAULT 1,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))),
  FModifyTime TIMESTAMP
);

-- Inspection schemes, routings, work types, job types and team times of production.
CREATE TABLE ICQCScheme (
  FInterID INTEGER PRIMARY KEY AUTOINCREMENT,
  FBillNo VARCHAR(80) COLLATE NOCASE,
  FSchemeName VARCHAR(255) COLLATE NOCASE,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))
);

CREATE TABLE t_Routing (
  FInterID INTEGER PRIMARY KEY AUTOINCREMENT,
  FBillNo VARCHAR(80) COLLATE NOCASE,
  FRoutingName VARCHAR(255) COLLATE NOCASE,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))
);

CREATE TABLE t_WorkType (
  FInterID INTEGER PRIMARY KEY AUTOINCREMENT,
  FNumber VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE
);

CREATE TABLE t_JobType (
  FInterID INTEGER PRIMARY KEY AUTOINCREMENT,
  FName VARCHAR(255) COLLATE NOCASE
);

CREATE TABLE t_IcTeamTime (
  FID INTEGER PRIMARY KEY AUTOINCREMENT,
  FBillNo VARCHAR(80) COLLATE NOCASE,
  FName VARCHAR(255) COLLATE NOCASE,
  UUID VARCHAR(40) COLLATE NOCASE DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-' || substr('89AB', 1 + abs(random() % 4), 1) || substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6)))
);

-- The classes of auxiliary properties, as a material's auxiliary class names them.
CREATE VIEW vwItemAuxProp AS
  SELECT FItemClassID AS FItemID, FNumber, FName FROM t_ItemClass WHERE FType IN (3, 4);

-- The warehouses that a material names as its assigned, inspection, keeping and assignee stock.
CREATE VIEW vwAssignStock AS SELECT FItemID, FNumber, FName FROM t_Item WHERE FItemClassID = 5 AND FDetail <> 0 AND FDeleted = 0;
CREATE VIEW vwInstStock AS SELECT FItemID, FNumber, FName FROM t_Item WHERE FItemClassID = 5 AND FDetail <> 0 AND FDeleted = 0;
CREATE VIEW vwKeepStock AS SELECT FItemID, FNumber, FName FROM t_Item WHERE FItemClassID = 5 AND FDetail <> 0 AND FDeleted = 0;
CREATE VIEW vwAssigneeStock AS SELECT FItemID, FNumber, FName FROM t_Item WHERE FItemClassID = 5 AND FDetail <> 0 AND FDeleted = 0;

-- ---- The rows every account set starts with ----

INSERT INTO t_SystemProfile (FCategory, FKey, FValue) VALUES ('Base', 'ServicePack', '3.0.0.0');

INSERT INTO t_User (FUserID, FName, FForbidden) VALUES (16, 'Administrator', 0);
INSERT INTO t_Group (FGroupID, FUserID) VALUES (1, 16);

-- Row 0 is the ERP's "no item": ids of 0 point at it, and every query of items leaves it out.
INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, FDeleted, UUID)
  VALUES (0, 0, '', '', 0, 0, 0, 0, '00000000-0000-0000-0000-000000000000');

INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_EN, FName_CHT, FType, FSQLTableName, UUID) VALUES
  (1, '001', '客户', 'Customer', '客戶', 0, 't_Organization', '00000001-0000-4000-8000-000000000000'),
  (2, '002', '部门', 'Department', '部門', 0, 't_Department', '00000002-0000-4000-8000-000000000000'),
  (3, '003', '职员', 'Employee', '職員', 0, 't_Emp', '00000003-0000-4000-8000-000000000000'),
  (4, '004', '物料', 'Material', '物料', 0, 't_ICItem', '00000004-0000-4000-8000-000000000000'),
  (5, '005', '仓库', 'Warehouse', '倉庫', 0, 't_Stock', '00000005-0000-4000-8000-000000000000'),
  (7, '007', '计量单位', 'Unit of measure', '計量單位', 0, 't_MeasureUnit', '00000007-0000-4000-8000-000000000000'),
  (8, '008', '供应商', 'Supplier', '供應商', 0, 't_Supplier', '00000008-0000-4000-8000-000000000000'),
  (9, '009', '现金流量项目', 'Cash flow item', '現金流量項目', 0, '', '00000009-0000-4000-8000-000000000000'),
  (10, '010', '分支机构', 'Branch', '分支機構', 0, 't_SonCompany', '0000000A-0000-4000-8000-000000000000'),
  (14, '014', '工作中心', 'Work centre', '工作中心', 0, 't_WorkCenter', '0000000E-0000-4000-8000-000000000000'),
  (2001, '2001', '成本对象', 'Cost object', '成本對象', 0, 'cbCostObj', '000007D1-0000-4000-8000-000000000000'),
  (2002, '2002', '劳务输出', 'Service', '勞務輸出', 0, 'cbService', '000007D2-0000-4000-8000-000000000000'),
  (2003, '2003', '成本项目', 'Cost item', '成本項目', 0, 'cbCostItem', '000007D3-0000-4000-8000-000000000000'),
  (2004, '2004', '费用要素', 'Expense element', '費用要素', 0, 'cbExpense', '000007D4-0000-4000-8000-000000000000'),
  (2014, '2014', '费用', 'Fee', '費用', 0, 't_Fee', '000007DE-0000-4000-8000-000000000000');
UPDATE sqlite_sequence SET seq = 3000 WHERE name = 't_ItemClass';

-- The template of the access rights of an item class (item class 20): what every user group may do with
-- the class's records.
INSERT INTO t_ObjectType (FObjectType, FObjectID, FName, FName_cht, FName_en, FDescription, FDescription_cht, FDescription_en)
  VALUES (3, 20, '核算项目', '核算項目', 'Item class', '', '', '');
INSERT INTO t_ObjectAccessType (FObjectType, FObjectID, FIndex, FAccessMask, FAccessUse, FName, FDescription, FName_Cht, FName_En, FDescription_Cht, FDescription_En) VALUES
  (3, 20, 1, 1048576, 0, '查看', '用户可查看核算项目的信息', '查看', 'View', '用戶可查看核算項目的信息', 'May view the records of the item class'),
  (3, 20, 2, 2097152, 1048576, '新增', '用户可新增核算项目', '新增', 'Add', '用戶可新增核算項目', 'May add records to the item class'),
  (3, 20, 3, 4194304, 1048576, '修改', '用户可修改核算项目', '修改', 'Change', '用戶可修改核算項目', 'May change the records of the item class'),
  (3, 20, 4, 65536, 1048576, '删除', '用户可删除核算项目', '刪除', 'Delete', '用戶可刪除核算項目', 'May delete the records of the item class'),
  (3, 20, 7, 16777216, 3276800, '引入', '用户可引入核算项目的信息', '引入', 'Import', '用戶可引入核算項目的信息', 'May import the records of the item class'),
  (3, 20, 8, 8388608, 3145728, '引出', '用户可引出核算项目的信息', '引出', 'Export', '用戶可引出核算項目的信息', 'May export the records of the item class');
INSERT INTO t_ObjectAccess (FGroupID, FObjectType, FObjectID, FIndex) VALUES
  (1, 3, 20, 1), (1, 3, 20, 2), (1, 3, 20, 3), (1, 3, 20, 4), (1, 3, 20, 7), (1, 3, 20, 8),
  (2, 3, 20, 1), (2, 3, 20, 7), (2, 3, 20, 8);

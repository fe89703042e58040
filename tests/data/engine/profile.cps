KEY=a=b
 Spaced Key = v 
noequals
KEY=later
LAST=xyz